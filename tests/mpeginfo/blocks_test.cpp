// The VBR header blocks inside the first frame, and the ID3v2 tags before it.
#include "mpeginfo/tags.h"
#include "mpeginfo/vbr_header.h"

#include "mpeg_synth.h"

#include <gtest/gtest.h>

namespace id3::mpeg {
namespace {

using test::Be32;
using test::Bytes;
using test::Concat;
using test::Text;
using test::V;

// "Xing" with frame and byte counts.
const Bytes kXing = Concat({Text("Xing"), Be32(3), Be32(10000), Be32(123456)});
const Bytes kVbri = Concat({Text("VBRI"), Bytes{0, 1, 0, 0, 0, 50}, Be32(777777), Be32(2222)});

// The first kVbrWindow bytes of a frame: the header, zeros, the block at `at`.
VbrHeader Find(test::Header header, std::size_t at, const Bytes& block) {
  Bytes frame(kVbrWindow, 0);
  std::copy(header.begin(), header.end(), frame.begin());
  std::copy(block.begin(), block.end(), frame.begin() + static_cast<std::ptrdiff_t>(at));
  return FindVbrHeader(DecodeHeader(header), frame);
}

TEST(VbrHeader, LookedForBehindTheSideInformationThenBehindTheHeader) {
  const test::Header stereo = {0xFF, 0xFB, 0x90, 0x00}, mono = {0xFF, 0xFB, 0x90, 0xC0};
  const test::Header mpeg2 = {0xFF, 0xF3, 0x80, 0x00}, mpeg25_mono = {0xFF, 0xE3, 0x18, 0xC0};
  const test::Header crc = {0xFF, 0xFA, 0x90, 0x00}, mpeg2_mono_crc = {0xFF, 0xF2, 0x80, 0xC0};
  const struct {
    test::Header header;
    std::size_t at;
    Bytes block;
    VbrHeader want;
  } cases[] = {
      {stereo, 36, kXing, V(VbrKind::Xing, 10000, 123456, 36)},
      {mono, 21, kXing, V(VbrKind::Xing, 10000, 123456, 21)},
      {mpeg2, 21, kXing, V(VbrKind::Xing, 10000, 123456, 21)},
      {mpeg25_mono, 13, kXing, V(VbrKind::Xing, 10000, 123456, 13)},
      {stereo, 4, kXing, V(VbrKind::Xing, 10000, 123456, 4)},
      {crc, 36, kXing, V(VbrKind::Xing, 10000, 123456, 36)}, // where lame -p writes it
      {crc, 38, kXing, V(VbrKind::Xing, 10000, 123456, 38)},
      {crc, 6, kXing, V(VbrKind::Xing, 10000, 123456, 6)},
      {mpeg2_mono_crc, 15, kXing, V(VbrKind::Xing, 10000, 123456, 15)},
      {stereo, 36, Concat({Text("Info"), Be32(1), Be32(116)}), V(VbrKind::Info, 116, {}, 36)},
      {stereo, 36, kVbri, V(VbrKind::Vbri, 2222, 777777, 36)},
      {mono, 36, kVbri, V(VbrKind::Vbri, 2222, 777777, 36)},
      // Not at another channel mode's place, one byte off, or 2 further without a CRC.
      {stereo, 21, kXing, {}},
      {mono, 36, kXing, {}},
      {stereo, 5, kXing, {}},
      {stereo, 38, kXing, {}},
      {stereo, 4, kVbri, {}},
  };
  for (const auto& c : cases) EXPECT_EQ(Find(c.header, c.at, c.block), c.want) << c.at;
  for (std::string_view tag : {"xing", "XING", "info", "Xin "}) {
    const Bytes block = Concat({Text(tag), Bytes(kXing.begin() + 4, kXing.end())});
    EXPECT_EQ(Find(stereo, 36, block).kind, VbrKind::None) << tag;
    EXPECT_EQ(Find(stereo, 4, block).kind, VbrKind::None) << tag;
  }
  // A frame cut short by the end of the file.
  Bytes frame = Concat({Bytes(stereo.begin(), stereo.end()), kXing});
  EXPECT_EQ(FindVbrHeader(DecodeHeader(stereo), std::span(frame).first(4)).kind, VbrKind::None);
  EXPECT_EQ(FindVbrHeader(DecodeHeader(stereo), std::span(frame).first(12)),
            V(VbrKind::Xing, {}, {}, 4));
  EXPECT_EQ(ParseVbri(kVbri).kind, VbrKind::Vbri); // the whole of it, and no byte more
  EXPECT_EQ(ParseVbri(std::span(kVbri).first(kVbri.size() - 1)).kind, VbrKind::None);
}

TEST(VbrHeader, CountsFollowTheFlags) {
  EXPECT_EQ(ParseXing(Concat({Text("Xing"), Be32(0)})), V(VbrKind::Xing));
  EXPECT_EQ(ParseXing(Concat({Text("Xing"), Be32(2), Be32(5000)})), V(VbrKind::Xing, {}, 5000));
  EXPECT_EQ(ParseXing(Concat({Text("Xing"), Be32(0x0F), Be32(7), Be32(8)})),
            V(VbrKind::Xing, 7, 8));
  // Big-endian, as encoders write it: 00 00 27 10 is 10,000.
  EXPECT_EQ(ParseXing(Concat({Text("Xing"), Be32(1), Bytes{0x00, 0x00, 0x27, 0x10}})).frames,
            10000u);
  // A count the flags announce but the bytes do not hold.
  EXPECT_EQ(ParseXing(Concat({Text("Xing"), Be32(1), Bytes{0x00, 0x27}})), V(VbrKind::Xing));
  EXPECT_EQ(ParseXing(Text("Xing")), V(VbrKind::Xing));
}

Bytes Id3v2(std::uint8_t flags, Bytes size) {
  return Concat({Text("ID3"), Bytes{3, 1, flags}, std::move(size)});
}

TEST(Tags, Id3v2LengthIsHeaderSynchsafeSizeAndFooter) {
  EXPECT_EQ(Id3v2TagLength(Id3v2(0, {0, 0, 0, 0})), 10u);
  EXPECT_EQ(Id3v2TagLength(Id3v2(0, {0, 0, 0x02, 0x01})), 10u + 257u);
  EXPECT_EQ(Id3v2TagLength(Id3v2(0, {0x7F, 0x7F, 0x7F, 0x7F})), 10u + 0x0FFFFFFFu);
  EXPECT_EQ(Id3v2TagLength(Id3v2(kId3v2FooterFlag, {0, 0, 0x01, 0x00})), 10u + 128u + 10u);
  EXPECT_EQ(Id3v2TagLength(Id3v2(0xEF, {0, 0, 0x01, 0x00})), 10u + 128u); // other flags
  const auto tag = ReadId3v2Tag(Id3v2(0, {0, 0, 0x01, 0x00}));
  ASSERT_TRUE(tag);
  EXPECT_EQ(std::tuple(tag->major, tag->revision, tag->length), std::tuple(3, 1, 138u));
  // Not an ID3v2 header: not synchsafe, a version byte of 0xFF, "id3", cut short.
  EXPECT_EQ(Id3v2TagLength(Id3v2(0, {0, 0, 0x80, 0})), 0u);
  for (const std::size_t at : {0u, 3u, 4u}) {
    Bytes b = Id3v2(0, {0, 0, 1, 0});
    b[at] = at == 0 ? 'i' : 0xFF;
    EXPECT_EQ(Id3v2TagLength(b), 0u) << at;
  }
  const Bytes header = Id3v2(0, {0, 0, 1, 0});
  EXPECT_EQ(ReadId3v2Tag(std::span(header).first(9)), std::nullopt);
}

} // namespace
} // namespace id3::mpeg
