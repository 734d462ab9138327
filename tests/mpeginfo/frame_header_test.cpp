// The four header bytes: their fields, and what the tables make of them.
#include "mpeginfo/frame_header.h"

#include <gtest/gtest.h>

#include <array>

namespace id3::mpeg {
namespace {

using Four = std::array<std::uint8_t, 4>;

TEST(FrameHeader, DecodesEveryFieldFromItsBits) {
  // 1111 1111  111 00 01 0  1011 01 1 1  01 10 1 1 10, then the complement of each field.
  EXPECT_EQ(DecodeHeader(Four{0xFF, 0xE2, 0xB7, 0x6E}),
            (FrameHeader{0, 1, 0, 11, 1, 1, 1, 1, 2, 1, 1, 2}));
  EXPECT_EQ(DecodeHeader(Four{0xFF, 0xFD, 0x48, 0x91}),
            (FrameHeader{3, 2, 1, 4, 2, 0, 0, 2, 1, 0, 0, 1}));
  EXPECT_TRUE(IsFrameSync(Four{0xFF, 0xE0, 0x00, 0x00}));
  EXPECT_FALSE(IsFrameSync(Four{0xFF, 0xDF, 0xFF, 0xFF}));
  EXPECT_FALSE(IsFrameSync(Four{0xFE, 0xFF, 0xFF, 0xFF}));
}

struct Row {
  Four bytes;
  bool reserved;
  float version;
  int layer, hz, kbps, length, samples, side_info;
};

TEST(FrameHeader, TablesByVersionLayerAndIndex) {
  const Row rows[] = {
      {{0xFF, 0xFB, 0x90, 0x00}, false, 1, 3, 44100, 128, 417, 1152, 32}, // MPEG-1 Layer III
      {{0xFF, 0xFB, 0x92, 0xC0}, false, 1, 3, 44100, 128, 418, 1152, 17}, // padded, mono
      {{0xFF, 0xFB, 0xE8, 0x00}, false, 1, 3, 32000, 320, 1440, 1152, 32},
      {{0xFF, 0xFD, 0xE4, 0x00}, false, 1, 2, 48000, 384, 1152, 1152, 0}, // Layer II
      {{0xFF, 0xFF, 0xE8, 0x00}, false, 1, 1, 32000, 448, 672, 384, 0},   // Layer I
      {{0xFF, 0xF7, 0xE0, 0x00}, false, 2, 1, 22050, 256, 556, 384, 0},   // MPEG-2 Layer I
      {{0xFF, 0xF5, 0xE4, 0x00}, false, 2, 2, 24000, 160, 960, 1152, 0},
      {{0xFF, 0xF3, 0x88, 0x40}, false, 2, 3, 16000, 64, 288, 576, 17},
      {{0xFF, 0xE3, 0x18, 0xC0}, false, 2.5f, 3, 8000, 8, 72, 576, 9}, // MPEG-2.5
      {{0xFF, 0xE5, 0x14, 0x00}, false, 2.5f, 2, 12000, 8, 96, 1152, 0},
      {{0xFF, 0xFB, 0x00, 0x00}, false, 1, 3, 44100, 0, 0, 1152, 32}, // free format
      {{0xFF, 0xFB, 0xF0, 0x00}, true, 1, 3, 44100, 0, 0, 1152, 32},  // bit-rate index 15
      {{0xFF, 0xFB, 0x9C, 0x00}, true, 1, 3, 0, 128, 0, 1152, 32},    // frequency index 3
      {{0xFF, 0xEB, 0x90, 0x00}, true, 0, 3, 0, 80, 0, 576, 17},      // version 1
      {{0xFF, 0xF9, 0x90, 0x00}, true, 1, 0, 44100, 0, 0, 0, 0},      // layer 0
  };
  for (const Row& r : rows) {
    const FrameHeader h = DecodeHeader(r.bytes);
    SCOPED_TRACE(testing::PrintToString(r.bytes));
    EXPECT_EQ(HasReservedField(h), r.reserved);
    EXPECT_EQ(MpegVersionNumber(h), r.version);
    EXPECT_EQ(LayerNumber(h), r.layer);
    EXPECT_EQ(FrequencyHz(h), r.hz);
    EXPECT_EQ(BitRateKbps(h), r.kbps);
    EXPECT_EQ(FrameLength(h), r.length);
    EXPECT_EQ(SamplesPerFrame(h), r.samples);
    EXPECT_EQ(SideInfoSize(h), r.side_info);
  }
}

} // namespace
} // namespace id3::mpeg
