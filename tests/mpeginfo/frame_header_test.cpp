// Decoding the four header bytes and the tables behind the fields.
#include "mpeginfo/frame_header.h"

#include <gtest/gtest.h>

#include <array>

namespace id3::mpeg {
namespace {

using Four = std::array<std::uint8_t, 4>;

FrameHeader Decode(Four b) { return DecodeHeader(b); }

TEST(FrameHeader, DecodesEveryFieldFromItsBits) {
  // 1111 1111  111 00 01 0  1011 01 1 1  01 10 1 1 10
  const FrameHeader h = Decode({0xFF, 0xE2, 0xB7, 0x6E});
  EXPECT_EQ(h, (FrameHeader{.version = 0,
                            .layer = 1,
                            .protection = 0,
                            .bit_rate_index = 11,
                            .frequency_index = 1,
                            .padding = 1,
                            .private_bit = 1,
                            .channel_mode = 1,
                            .mode_extension = 2,
                            .copyright = 1,
                            .original = 1,
                            .emphasis = 2}));
  // The complement of each field.
  // 1111 1111  111 11 10 1  0100 10 0 0  10 01 0 0 01
  EXPECT_EQ(Decode({0xFF, 0xFD, 0x48, 0x91}), (FrameHeader{.version = 3,
                                                           .layer = 2,
                                                           .protection = 1,
                                                           .bit_rate_index = 4,
                                                           .frequency_index = 2,
                                                           .padding = 0,
                                                           .private_bit = 0,
                                                           .channel_mode = 2,
                                                           .mode_extension = 1,
                                                           .copyright = 0,
                                                           .original = 0,
                                                           .emphasis = 1}));
}

TEST(FrameHeader, SyncIsElevenSetBits) {
  EXPECT_TRUE(IsFrameSync(Four{0xFF, 0xE0, 0x00, 0x00}));
  EXPECT_TRUE(IsFrameSync(Four{0xFF, 0xFB, 0x90, 0x00}));
  EXPECT_FALSE(IsFrameSync(Four{0xFF, 0xDF, 0xFF, 0xFF}));
  EXPECT_FALSE(IsFrameSync(Four{0xFE, 0xFF, 0xFF, 0xFF}));
}

TEST(FrameHeader, ReservedCodesInAnyOfFourFields) {
  EXPECT_FALSE(HasReservedField(Decode({0xFF, 0xFB, 0x90, 0x00})));
  EXPECT_TRUE(HasReservedField(Decode({0xFF, 0xEB, 0x90, 0x00})));  // version 1
  EXPECT_TRUE(HasReservedField(Decode({0xFF, 0xF9, 0x90, 0x00})));  // layer 0
  EXPECT_TRUE(HasReservedField(Decode({0xFF, 0xFB, 0xF0, 0x00})));  // bit-rate index 15
  EXPECT_TRUE(HasReservedField(Decode({0xFF, 0xFB, 0x9C, 0x00})));  // frequency index 3
  EXPECT_FALSE(HasReservedField(Decode({0xFF, 0xFB, 0x00, 0x00}))); // free format is allowed
}

TEST(FrameHeader, FrequencyTable) {
  EXPECT_EQ(FrequencyHz(Decode({0xFF, 0xFB, 0x90, 0x00})), 44100);
  EXPECT_EQ(FrequencyHz(Decode({0xFF, 0xFB, 0x94, 0x00})), 48000);
  EXPECT_EQ(FrequencyHz(Decode({0xFF, 0xF3, 0x98, 0x00})), 16000); // MPEG-2, index 2
  EXPECT_EQ(FrequencyHz(Decode({0xFF, 0xE3, 0x94, 0x00})), 12000); // MPEG-2.5, index 1
  EXPECT_EQ(FrequencyHz(Decode({0xFF, 0xEB, 0x90, 0x00})), 0);     // reserved version
  EXPECT_EQ(FrequencyHz(Decode({0xFF, 0xFB, 0x9C, 0x00})), 0);     // reserved index
}

TEST(FrameHeader, BitRateRows) {
  EXPECT_EQ(BitRateKbps(Decode({0xFF, 0xFB, 0x90, 0x00})), 128); // MPEG-1 Layer III, 9
  EXPECT_EQ(BitRateKbps(Decode({0xFF, 0xFD, 0xE0, 0x00})), 384); // MPEG-1 Layer II, 14
  EXPECT_EQ(BitRateKbps(Decode({0xFF, 0xFF, 0xE0, 0x00})), 448); // MPEG-1 Layer I, 14
  EXPECT_EQ(BitRateKbps(Decode({0xFF, 0xF7, 0xE0, 0x00})), 256); // MPEG-2 Layer I, 14
  EXPECT_EQ(BitRateKbps(Decode({0xFF, 0xF3, 0xE0, 0x00})), 160); // MPEG-2 Layer III, 14
  EXPECT_EQ(BitRateKbps(Decode({0xFF, 0xE5, 0x10, 0x00})), 8);   // MPEG-2.5 Layer II, 1
  EXPECT_EQ(BitRateKbps(Decode({0xFF, 0xFB, 0x00, 0x00})), 0);   // free format
  EXPECT_EQ(BitRateKbps(Decode({0xFF, 0xFB, 0xF0, 0x00})), 0);   // index 15
  EXPECT_EQ(BitRateKbps(Decode({0xFF, 0xF9, 0x90, 0x00})), 0);   // layer 0
}

TEST(FrameHeader, FrameLengthCoefficientAndLength) {
  const FrameHeader l1 = Decode({0xFF, 0xFF, 0xE8, 0x00});    // MPEG-1 L I 448k 32 kHz
  const FrameHeader l2 = Decode({0xFF, 0xFD, 0xE4, 0x00});    // MPEG-1 L II 384k 48 kHz
  const FrameHeader l3 = Decode({0xFF, 0xFB, 0x90, 0x00});    // MPEG-1 L III 128k 44.1 kHz
  const FrameHeader l3pad = Decode({0xFF, 0xFB, 0x92, 0x00}); // the same, padded
  const FrameHeader m2l3 = Decode({0xFF, 0xF3, 0x80, 0x00});  // MPEG-2 L III 64k 22.05 kHz
  const FrameHeader m25l3 = Decode({0xFF, 0xE3, 0x18, 0x00}); // MPEG-2.5 L III 8k 8 kHz
  const FrameHeader m2l2 = Decode({0xFF, 0xF5, 0xE4, 0x00});  // MPEG-2 L II 160k 24 kHz
  EXPECT_EQ(FrameLengthCoefficient(l1), 48);
  EXPECT_EQ(FrameLengthCoefficient(l2), 144);
  EXPECT_EQ(FrameLengthCoefficient(m2l2), 144);
  EXPECT_EQ(FrameLengthCoefficient(l3), 144);
  EXPECT_EQ(FrameLengthCoefficient(m2l3), 72);
  EXPECT_EQ(FrameLengthCoefficient(m25l3), 72);
  EXPECT_EQ(FrameLength(l1), 672);
  EXPECT_EQ(FrameLength(l2), 1152);
  EXPECT_EQ(FrameLength(m2l2), 960);
  EXPECT_EQ(FrameLength(l3), 417);
  EXPECT_EQ(FrameLength(l3pad), 418);
  EXPECT_EQ(FrameLength(m2l3), 208);
  EXPECT_EQ(FrameLength(m25l3), 72);
  EXPECT_EQ(FrameLength(Decode({0xFF, 0xFB, 0x00, 0x00})), 0); // free format: unknown
  EXPECT_EQ(SamplesPerFrame(l1), 384);
  EXPECT_EQ(SamplesPerFrame(m2l2), 1152);
  EXPECT_EQ(SamplesPerFrame(m2l3), 576);
}

TEST(FrameHeader, SideInformationSize) {
  EXPECT_EQ(SideInfoSize(Decode({0xFF, 0xFB, 0x90, 0x00})), 32); // MPEG-1 stereo
  EXPECT_EQ(SideInfoSize(Decode({0xFF, 0xFB, 0x90, 0xC0})), 17); // MPEG-1 mono
  EXPECT_EQ(SideInfoSize(Decode({0xFF, 0xF3, 0x80, 0x40})), 17); // MPEG-2 joint stereo
  EXPECT_EQ(SideInfoSize(Decode({0xFF, 0xE3, 0x18, 0xC0})), 9);  // MPEG-2.5 mono
  EXPECT_EQ(SideInfoSize(Decode({0xFF, 0xFD, 0xE4, 0x00})), 0);  // Layer II
}

TEST(FrameHeader, ShownValues) {
  EXPECT_EQ(MpegVersionNumber(Decode({0xFF, 0xE3, 0, 0})), 2.5f);
  EXPECT_EQ(MpegVersionNumber(Decode({0xFF, 0xEB, 0, 0})), 0.0f);
  EXPECT_EQ(MpegVersionNumber(Decode({0xFF, 0xF3, 0, 0})), 2.0f);
  EXPECT_EQ(MpegVersionNumber(Decode({0xFF, 0xFB, 0, 0})), 1.0f);
  EXPECT_EQ(LayerNumber(Decode({0xFF, 0xF9, 0, 0})), 0);
  EXPECT_EQ(LayerNumber(Decode({0xFF, 0xFB, 0, 0})), 3);
  EXPECT_EQ(LayerNumber(Decode({0xFF, 0xFD, 0, 0})), 2);
  EXPECT_EQ(LayerNumber(Decode({0xFF, 0xFF, 0, 0})), 1);
  const std::array<std::string_view, 4> modes = {"Stereo", "Joint stereo", "Dual channel",
                                                 "Single channel"};
  const std::array<std::string_view, 4> emphases = {"None", "50/15 ms", "Reserved", "CCIT J.17"};
  for (std::uint8_t i = 0; i < 4; ++i) {
    EXPECT_EQ(ChannelModeText(Decode({0xFF, 0xFB, 0x90, static_cast<std::uint8_t>(i << 6)})),
              modes[i]);
    EXPECT_EQ(EmphasisText(Decode({0xFF, 0xFB, 0x90, i})), emphases[i]);
  }
}

} // namespace
} // namespace id3::mpeg
