// The MPEG audio frame header: four bytes in, the twelve fields out, and the
// tables that give them meaning. Pure functions over bytes; no I/O.
//
// The header is read as one 32-bit word, byte 0 the most significant:
//
//   byte 0          byte 1          byte 2          byte 3
//   7 6 5 4 3 2 1 0 7 6 5 4 3 2 1 0 7 6 5 4 3 2 1 0 7 6 5 4 3 2 1 0
//   A A A A A A A A A A A B B C C D E E E E F F G H I I J J K L M M
//
//   A  sync, eleven 1 bits
//   B  version           0 MPEG-2.5, 1 reserved, 2 MPEG-2, 3 MPEG-1
//   C  layer             0 reserved, 1 Layer III, 2 Layer II, 3 Layer I
//   D  protection        0: a 16-bit CRC follows the header
//   E  bit-rate index    0 free format, 1-14 from the tables, 15 reserved
//   F  frequency index   0-2 from the tables, 3 reserved
//   G  padding           the frame is one slot longer
//   H  private
//   I  channel mode      0 stereo, 1 joint stereo, 2 dual channel, 3 single channel
//   J  mode extension
//   K  copyright
//   L  original
//   M  emphasis          0 none, 1 50/15 ms, 2 reserved, 3 CCIT J.17
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace id3::mpeg {

constexpr std::size_t kHeaderSize = 4;
using HeaderBytes = std::span<const std::uint8_t, kHeaderSize>;

// Where the fields lie in the header word: the lowest bit of each, and its
// width as a mask of that many bits.
namespace bits {
struct Field {
  std::uint32_t shift;
  std::uint32_t mask;
};
constexpr std::uint32_t kSyncMask = 0xFFE00000;
constexpr Field kVersion{19, 0x3};
constexpr Field kLayer{17, 0x3};
constexpr Field kProtection{16, 0x1};
constexpr Field kBitRate{12, 0xF};
constexpr Field kFrequency{10, 0x3};
constexpr Field kPadding{9, 0x1};
constexpr Field kPrivate{8, 0x1};
constexpr Field kChannelMode{6, 0x3};
constexpr Field kModeExtension{4, 0x3};
constexpr Field kCopyright{3, 0x1};
constexpr Field kOriginal{2, 0x1};
constexpr Field kEmphasis{0, 0x3};
} // namespace bits

// Field codes.
constexpr std::uint8_t kVersion25 = 0, kVersionReserved = 1, kVersion2 = 2, kVersion1 = 3;
constexpr std::uint8_t kLayerReserved = 0, kLayer3 = 1, kLayer2 = 2, kLayer1 = 3;
constexpr std::uint8_t kBitRateFree = 0, kBitRateReserved = 15;
constexpr std::uint8_t kFrequencyReserved = 3;
constexpr std::uint8_t kSingleChannel = 3;

// The twelve fields, each as the raw code from the header.
struct FrameHeader {
  std::uint8_t version{};
  std::uint8_t layer{};
  std::uint8_t protection{};
  std::uint8_t bit_rate_index{};
  std::uint8_t frequency_index{};
  std::uint8_t padding{};
  std::uint8_t private_bit{};
  std::uint8_t channel_mode{};
  std::uint8_t mode_extension{};
  std::uint8_t copyright{};
  std::uint8_t original{};
  std::uint8_t emphasis{};

  bool operator==(const FrameHeader&) const = default;
};

constexpr std::uint32_t HeaderWord(HeaderBytes b) {
  return std::uint32_t{b[0]} << 24 | std::uint32_t{b[1]} << 16 | std::uint32_t{b[2]} << 8 |
         std::uint32_t{b[3]};
}

// The eleven sync bits: byte 0 is 0xFF and the top three bits of byte 1 are set.
constexpr bool IsFrameSync(HeaderBytes b) {
  return (HeaderWord(b) & bits::kSyncMask) == bits::kSyncMask;
}

constexpr FrameHeader DecodeHeader(HeaderBytes b) {
  const std::uint32_t w = HeaderWord(b);
  const auto field = [w](bits::Field f) {
    return static_cast<std::uint8_t>(w >> f.shift & f.mask);
  };
  using namespace bits;
  return FrameHeader{
      .version = field(kVersion),
      .layer = field(kLayer),
      .protection = field(kProtection),
      .bit_rate_index = field(kBitRate),
      .frequency_index = field(kFrequency),
      .padding = field(kPadding),
      .private_bit = field(kPrivate),
      .channel_mode = field(kChannelMode),
      .mode_extension = field(kModeExtension),
      .copyright = field(kCopyright),
      .original = field(kOriginal),
      .emphasis = field(kEmphasis),
  };
}

// A reserved version, layer, bit-rate index or frequency index: such four bytes
// are no frame header, whatever their sync bits say.
constexpr bool HasReservedField(const FrameHeader& h) {
  return h.version == kVersionReserved || h.layer == kLayerReserved ||
         h.bit_rate_index == kBitRateReserved || h.frequency_index == kFrequencyReserved;
}

// Two headers of one stream: same version, layer and sampling frequency.
constexpr bool SameStream(const FrameHeader& a, const FrameHeader& b) {
  return a.version == b.version && a.layer == b.layer && a.frequency_index == b.frequency_index;
}

// Sampling frequency in Hz; 0 for a reserved version or frequency index.
int FrequencyHz(const FrameHeader& h);
// Bit rate in kbit/s from the tables of ISO/IEC 11172-3 (MPEG-1) and 13818-3
// (every other version); 0 for free format, index 15 or the reserved layer.
int BitRateKbps(const FrameHeader& h);
// Audio samples per channel in one frame: 384, 1152, or 576 for Layer III of
// MPEG-2 and 2.5; 0 for the reserved layer.
int SamplesPerFrame(const FrameHeader& h);
// k such that k x bit rate / frequency is the length of a frame in bytes (less
// padding): 48 for Layer I (12 slots of 4 bytes), 144 for Layer II and MPEG-1
// Layer III, 72 for Layer III of MPEG-2 and 2.5. 0 for the reserved layer.
int FrameLengthCoefficient(const FrameHeader& h);
// Length in bytes of the frame this header starts, padding included; 0 when it
// cannot be known (free format, a reserved field).
int FrameLength(const FrameHeader& h);
// Bytes of Layer III side information behind the header (and its CRC): 32 or
// 17 for MPEG-1 (stereo, mono), 17 or 9 for MPEG-2 and 2.5; 0 for Layers I, II.
int SideInfoSize(const FrameHeader& h);

// The values shown for the fields.
float MpegVersionNumber(const FrameHeader& h);  // 1, 2, 2.5; 0 for reserved
std::uint8_t LayerNumber(const FrameHeader& h); // 1, 2, 3; 0 for reserved
std::string_view ChannelModeText(const FrameHeader& h);
std::string_view EmphasisText(const FrameHeader& h);

// A version number as the panel and id3v1 show it: the shortest decimal text
// (1, 2, 2.5, 0), with the given decimal separator.
std::string MpegVersionText(float version, std::string_view decimal_separator = ".");

} // namespace id3::mpeg
