// The bytes at the start of the audio: the frame header's fields and what the
// tables make of them, the VBR header blocks in the first frame.
#include "mpeginfo/frame_header.h"
#include "mpeginfo/vbr_header.h"

#include "mpeg_synth.h"

#include <gtest/gtest.h>

namespace id3::mpeg {
namespace {

using Four = std::array<std::uint8_t, 4>;

TEST(FrameHeader, DecodesEveryFieldFromItsBits) {
  // 1111 1111  111 00 01 0  1011 01 1 0  01 10 1 1 10, then the complement of each field.
  EXPECT_EQ(DecodeHeader(Four{0xFF, 0xE2, 0xB6, 0x6E}),
            (FrameHeader{0, 1, 0, 11, 1, 1, 0, 1, 2, 1, 1, 2}));
  EXPECT_EQ(DecodeHeader(Four{0xFF, 0xFD, 0x49, 0x91}),
            (FrameHeader{3, 2, 1, 4, 2, 0, 1, 2, 1, 0, 0, 1}));
  EXPECT_FALSE(IsFrameSync(Four{0xFF, 0xDF, 0xFF, 0xFF}) || IsFrameSync(Four{0xFE, 0xFF, 0, 0}));
}

struct Row {
  Four bytes;
  bool reserved;
  float version;
  int layer, hz, kbps, length, samples, side_info;
};

TEST(FrameHeader, TablesByVersionLayerAndIndex) {
  // The cells that the real files of audio_facts_test read are left to them.
  const Row rows[] = {
      {{0xFF, 0xFB, 0x92, 0xC0}, false, 1, 3, 44100, 128, 418, 1152, 17}, // MPEG-1, padded, mono
      {{0xFF, 0xFB, 0xE8, 0x00}, false, 1, 3, 32000, 320, 1440, 1152, 32},
      {{0xFF, 0xFF, 0xE8, 0x00}, false, 1, 1, 32000, 448, 672, 384, 0}, // Layer I
      {{0xFF, 0xF7, 0xE0, 0x00}, false, 2, 1, 22050, 256, 556, 384, 0}, // MPEG-2 Layer I
      {{0xFF, 0xF3, 0x88, 0x40}, false, 2, 3, 16000, 64, 288, 576, 17},
      {{0xFF, 0xE5, 0x14, 0x00}, false, 2.5f, 2, 12000, 8, 96, 1152, 0}, // MPEG-2.5
      {{0xFF, 0xFB, 0x00, 0x00}, false, 1, 3, 44100, 0, 0, 1152, 32},    // free format
      {{0xFF, 0xFB, 0xF0, 0x00}, true, 1, 3, 44100, 0, 0, 1152, 32},     // bit-rate index 15
      {{0xFF, 0xFB, 0x9C, 0x00}, true, 1, 3, 0, 128, 0, 1152, 32},       // frequency index 3
      {{0xFF, 0xEB, 0x90, 0x00}, true, 0, 3, 0, 80, 0, 576, 17},         // version 1
      {{0xFF, 0xF9, 0x90, 0x00}, true, 1, 0, 44100, 0, 0, 0, 0},         // layer 0
  };
  for (const Row& r : rows) {
    const FrameHeader h = DecodeHeader(r.bytes);
    SCOPED_TRACE(testing::PrintToString(r.bytes));
    EXPECT_EQ(
        std::tuple(HasReservedField(h), MpegVersionNumber(h), LayerNumber(h), FrequencyHz(h),
                   BitRateKbps(h), FrameLength(h), SamplesPerFrame(h), SideInfoSize(h)),
        std::tuple(r.reserved, r.version, r.layer, r.hz, r.kbps, r.length, r.samples, r.side_info));
  }
}

using test::Be32;
using test::Bytes;
using test::Concat;
using test::Text;
using test::V;

// "Xing" with frame and byte counts.
const Bytes kXing = Concat({Text("Xing"), Be32(3), Be32(10000), Be32(123456)});
const Bytes kVbri = Concat({Text("VBRI"), Bytes{0, 1, 0, 0, 0, 50}, Be32(777777), Be32(2222)});

TEST(VbrHeader, LookedForBehindTheSideInformationThenBehindTheHeader) {
  const test::Header stereo = {0xFF, 0xFB, 0x90, 0x00}, mono = {0xFF, 0xFB, 0x90, 0xC0};
  const test::Header crc = {0xFF, 0xFA, 0x90, 0x00};
  const struct {
    test::Header header;
    std::size_t at;
    Bytes block;
    VbrHeader want;
  } cases[] = {
      {stereo, 4, kXing, V(VbrKind::Xing, 10000, 123456, 4)},
      {crc, 38, kXing, V(VbrKind::Xing, 10000, 123456, 38)},
      {crc, 6, kXing, V(VbrKind::Xing, 10000, 123456, 6)},
      {stereo, 36, kVbri, V(VbrKind::Vbri, 2222, 777777, 36)},
      {mono, 36, kVbri, V(VbrKind::Vbri, 2222, 777777, 36)},
      // Not at another channel mode's place, one byte off, or 2 further without a CRC.
      {stereo, 21, kXing, {}},
      {mono, 36, kXing, {}},
      {stereo, 5, kXing, {}},
      {stereo, 38, kXing, {}},
      {stereo, 4, kVbri, {}},
      {stereo, 36, Concat({Text("xing"), Be32(0)}), {}}, // the name compared exactly
      {stereo, 4, Concat({Text("INFO"), Be32(0)}), {}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FindVbrHeader(DecodeHeader(c.header), test::Frames(c.header, 1, c.at, c.block)),
              c.want)
        << c.at;
  // A frame cut short by the end of the file.
  Bytes frame = Concat({Bytes(stereo.begin(), stereo.end()), kXing});
  EXPECT_EQ(FindVbrHeader(DecodeHeader(stereo), std::span(frame).first(4)).kind, VbrKind::None);
  EXPECT_EQ(FindVbrHeader(DecodeHeader(stereo), std::span(frame).first(12)),
            V(VbrKind::Xing, {}, {}, 4));
  EXPECT_EQ(ParseVbri(kVbri).kind, VbrKind::Vbri); // the whole of it, and no byte more
  EXPECT_EQ(ParseVbri(std::span(kVbri).first(kVbri.size() - 1)).kind, VbrKind::None);
}

TEST(VbrHeader, CountsFollowTheFlags) {
  EXPECT_EQ(ParseXing(Concat({Text("Xing"), Be32(2), Be32(5000)})), V(VbrKind::Xing, {}, 5000));
  EXPECT_EQ(ParseXing(Concat({Text("Xing"), Be32(0x0F), Be32(7), Be32(0x12345678)})),
            V(VbrKind::Xing, 7, 0x12345678));
  // A count the flags announce but the bytes do not hold; no flags at all.
  EXPECT_EQ(ParseXing(Concat({Text("Xing"), Be32(1), Bytes{0x00, 0x27}})), V(VbrKind::Xing));
  EXPECT_EQ(ParseXing(Text("Xing")), V(VbrKind::Xing));
}

} // namespace
} // namespace id3::mpeg
