#include "mpeginfo/frame_header.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace id3::mpeg {
namespace {

using Row = std::array<int, 16>;
// kbit/s by bit-rate index; 0 at index 0 (free format) and 15 (reserved).
constexpr Row kMpeg1Layer1 = {0,   32,  64,  96,  128, 160, 192, 224,
                              256, 288, 320, 352, 384, 416, 448, 0};
constexpr Row kMpeg1Layer2 = {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0};
constexpr Row kMpeg1Layer3 = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0};
constexpr Row kMpeg2Layer1 = {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0};
constexpr Row kMpeg2Layer23 = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0};

// Hz by version field (row) and frequency index (column).
constexpr std::array<std::array<int, 4>, 4> kFrequencies = {{
    {11025, 12000, 8000, 0},  // MPEG-2.5
    {0, 0, 0, 0},             // reserved
    {22050, 24000, 16000, 0}, // MPEG-2
    {44100, 48000, 32000, 0}, // MPEG-1
}};

constexpr std::array<std::string_view, 4> kChannelModes = {"Stereo", "Joint stereo", "Dual channel",
                                                           "Single channel"};
constexpr std::array<std::string_view, 4> kEmphases = {"None", "50/15 ms", "Reserved", "CCIT J.17"};

bool IsMpeg1(const FrameHeader& h) { return h.version == kVersion1; }

} // namespace

int FrequencyHz(const FrameHeader& h) { return kFrequencies[h.version & 3][h.frequency_index & 3]; }

int BitRateKbps(const FrameHeader& h) {
  const Row* row = nullptr;
  switch (h.layer) {
  case kLayer1: row = IsMpeg1(h) ? &kMpeg1Layer1 : &kMpeg2Layer1; break;
  case kLayer2: row = IsMpeg1(h) ? &kMpeg1Layer2 : &kMpeg2Layer23; break;
  case kLayer3: row = IsMpeg1(h) ? &kMpeg1Layer3 : &kMpeg2Layer23; break;
  default: return 0;
  }
  return (*row)[h.bit_rate_index & 15];
}

int SamplesPerFrame(const FrameHeader& h) {
  switch (h.layer) {
  case kLayer1: return 384;
  case kLayer2: return 1152;
  case kLayer3: return IsMpeg1(h) ? 1152 : 576;
  default: return 0;
  }
}

int FrameLengthCoefficient(const FrameHeader& h) { return SamplesPerFrame(h) / 8; }

int FrameLength(const FrameHeader& h) {
  const int rate = BitRateKbps(h) * 1000;
  const int freq = FrequencyHz(h);
  if (rate == 0 || freq == 0) return 0;
  if (h.layer == kLayer1) return (12 * rate / freq + h.padding) * 4;
  return FrameLengthCoefficient(h) * rate / freq + h.padding;
}

int SideInfoSize(const FrameHeader& h) {
  if (h.layer != kLayer3) return 0;
  const bool mono = h.channel_mode == kSingleChannel;
  if (IsMpeg1(h)) return mono ? 17 : 32;
  return mono ? 9 : 17;
}

float MpegVersionNumber(const FrameHeader& h) {
  constexpr std::array<float, 4> kNumbers = {2.5f, 0.0f, 2.0f, 1.0f};
  return kNumbers[h.version & 3];
}

std::uint8_t LayerNumber(const FrameHeader& h) {
  return static_cast<std::uint8_t>(h.layer == kLayerReserved ? 0 : 4 - h.layer);
}

std::string_view ChannelModeText(const FrameHeader& h) { return kChannelModes[h.channel_mode & 3]; }

std::string_view EmphasisText(const FrameHeader& h) { return kEmphases[h.emphasis & 3]; }

std::string MpegVersionText(float version, std::string_view decimal_separator) {
  // "%g" writes 1, 2 and 2.5 as short as std::to_chars would, without the
  // 180 KB of tables that std::to_chars for floating point adds to a program.
  // No float needs more than 13 characters in it.
  std::array<char, 32> buf{};
  const int length = std::snprintf(buf.data(), buf.size(), "%g", static_cast<double>(version));
  std::string text;
  for (const char c : std::string_view(buf.data(), static_cast<std::size_t>(std::max(length, 0)))) {
    if (c == '.')
      text += decimal_separator;
    else
      text.push_back(c);
  }
  return text;
}

} // namespace id3::mpeg
