// The VBR header blocks inside the first frame, and the lengths of the tags
// around the audio.
#include "mpeginfo/tags.h"
#include "mpeginfo/vbr_header.h"

#include "synth.h"

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

namespace id3::mpeg {
namespace {

using test::V;
using Bytes = std::vector<std::uint8_t>;

// The first kVbrWindow bytes of a frame: the header, zeros, and at `at` the
// given block bytes.
Bytes Frame(std::array<std::uint8_t, 4> header, std::size_t at, const Bytes& block) {
  Bytes b(kVbrWindow, 0);
  std::copy(header.begin(), header.end(), b.begin());
  std::copy(block.begin(), block.end(), b.begin() + static_cast<std::ptrdiff_t>(at));
  return b;
}

Bytes Text(std::string_view s) { return Bytes(s.begin(), s.end()); }

Bytes Cat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

Bytes Be32(std::uint32_t v) {
  return {static_cast<std::uint8_t>(v >> 24), static_cast<std::uint8_t>(v >> 16),
          static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v)};
}

// "Xing" with frame and byte counts.
const Bytes kXing = Cat({Text("Xing"), Be32(3), Be32(10000), Be32(123456)});

VbrHeader Find(std::array<std::uint8_t, 4> header, std::size_t at, const Bytes& block) {
  return FindVbrHeader(DecodeHeader(header), Frame(header, at, block));
}

constexpr std::array<std::uint8_t, 4> kMpeg1Stereo = {0xFF, 0xFB, 0x90, 0x00};
constexpr std::array<std::uint8_t, 4> kMpeg1Mono = {0xFF, 0xFB, 0x90, 0xC0};
constexpr std::array<std::uint8_t, 4> kMpeg2Stereo = {0xFF, 0xF3, 0x80, 0x00};
constexpr std::array<std::uint8_t, 4> kMpeg25Mono = {0xFF, 0xE3, 0x18, 0xC0};
constexpr std::array<std::uint8_t, 4> kMpeg1Crc = {0xFF, 0xFA, 0x90, 0x00};
constexpr std::array<std::uint8_t, 4> kMpeg2MonoCrc = {0xFF, 0xF2, 0x80, 0xC0};

TEST(VbrHeader, XingBehindTheSideInformation) {
  const VbrHeader want = V(VbrKind::Xing, 10000, 123456, 36);
  EXPECT_EQ(Find(kMpeg1Stereo, 36, kXing), want);
  EXPECT_EQ(Find(kMpeg1Mono, 21, kXing).offset, 21u);
  EXPECT_EQ(Find(kMpeg2Stereo, 21, kXing).offset, 21u);
  EXPECT_EQ(Find(kMpeg25Mono, 13, kXing).offset, 13u);
  // Not at another channel mode's place.
  EXPECT_EQ(Find(kMpeg1Stereo, 21, kXing).kind, VbrKind::None);
  EXPECT_EQ(Find(kMpeg1Mono, 36, kXing).kind, VbrKind::None);
}

TEST(VbrHeader, XingDirectlyBehindTheHeader) {
  EXPECT_EQ(Find(kMpeg1Stereo, 4, kXing).offset, 4u);
  EXPECT_EQ(Find(kMpeg2Stereo, 4, kXing).frames, 10000u);
}

TEST(VbrHeader, WithACrcAlsoTwoBytesFurther) {
  EXPECT_EQ(Find(kMpeg1Crc, 36, kXing).offset, 36u); // where lame -p writes it
  EXPECT_EQ(Find(kMpeg1Crc, 38, kXing).offset, 38u);
  EXPECT_EQ(Find(kMpeg2MonoCrc, 15, kXing).offset, 15u);
  EXPECT_EQ(Find(kMpeg1Crc, 6, kXing).offset, 6u);
  EXPECT_EQ(Find(kMpeg1Stereo, 38, kXing).kind, VbrKind::None); // no CRC, no second try
}

TEST(VbrHeader, TheTagIsComparedExactly) {
  for (std::string_view tag : {"xing", "XING", "info", "Xin"}) {
    Bytes block = kXing;
    std::copy(tag.begin(), tag.end(), block.begin());
    if (tag.size() == 3) block[3] = ' ';
    EXPECT_EQ(Find(kMpeg1Stereo, 36, block).kind, VbrKind::None) << tag;
    EXPECT_EQ(Find(kMpeg1Stereo, 4, block).kind, VbrKind::None) << tag;
  }
  EXPECT_EQ(Find(kMpeg1Stereo, 5, kXing).kind, VbrKind::None); // one byte off
}

TEST(VbrHeader, InfoIsTheSameBlockUnderAnotherName) {
  const Bytes info = Cat({Text("Info"), Be32(1), Be32(116)});
  EXPECT_EQ(Find(kMpeg1Stereo, 36, info), V(VbrKind::Info, 116, {}, 36));
}

TEST(VbrHeader, CountsFollowTheFlags) {
  EXPECT_EQ(ParseXing(Cat({Text("Xing"), Be32(0)})), V(VbrKind::Xing));
  EXPECT_EQ(ParseXing(Cat({Text("Xing"), Be32(2), Be32(5000)})), V(VbrKind::Xing, {}, 5000));
  EXPECT_EQ(ParseXing(Cat({Text("Xing"), Be32(0x0F), Be32(7), Be32(8)})), V(VbrKind::Xing, 7, 8));
  // Big-endian, as encoders write it: 00 00 27 10 is 10,000.
  EXPECT_EQ(ParseXing(Cat({Text("Xing"), Be32(1), Bytes{0x00, 0x00, 0x27, 0x10}})).frames, 10000u);
  // A count the flags announce but the bytes do not hold.
  EXPECT_EQ(ParseXing(Cat({Text("Xing"), Be32(1), Bytes{0x00, 0x27}})), V(VbrKind::Xing));
  EXPECT_EQ(ParseXing(Text("Xing")), V(VbrKind::Xing));
}

TEST(VbrHeader, VbriThirtySixBytesFromTheHeader) {
  const Bytes vbri = Cat({Text("VBRI"), Bytes{0, 1, 0, 0, 0, 50}, Be32(777777), Be32(2222)});
  EXPECT_EQ(Find(kMpeg1Stereo, 36, vbri), V(VbrKind::Vbri, 2222, 777777, 36));
  EXPECT_EQ(Find(kMpeg1Mono, 36, vbri).kind, VbrKind::Vbri);
  EXPECT_EQ(Find(kMpeg1Stereo, 4, vbri).kind, VbrKind::None);
  EXPECT_EQ(ParseVbri(Bytes(vbri.begin(), vbri.end() - 1)).kind, VbrKind::None); // cut short
}

TEST(VbrHeader, AFrameCutShortByTheEndOfTheFile) {
  const Bytes frame = Frame(kMpeg1Stereo, 4, kXing);
  EXPECT_EQ(FindVbrHeader(DecodeHeader(kMpeg1Stereo), std::span(frame).first(4)).kind,
            VbrKind::None);
  EXPECT_EQ(FindVbrHeader(DecodeHeader(kMpeg1Stereo), std::span(frame).first(12)),
            V(VbrKind::Xing, {}, {}, 4));
}

Bytes Id3v2(std::uint8_t flags, std::array<std::uint8_t, 4> size) {
  return Cat({Text("ID3"), Bytes{4, 0, flags}, Bytes(size.begin(), size.end())});
}

TEST(Tags, Id3v2LengthIsHeaderSynchsafeSizeAndFooter) {
  EXPECT_EQ(Id3v2TagLength(Id3v2(0, {0, 0, 0, 0})), 10u);
  EXPECT_EQ(Id3v2TagLength(Id3v2(0, {0, 0, 0x02, 0x01})), 10u + 257u);
  EXPECT_EQ(Id3v2TagLength(Id3v2(0, {0x7F, 0x7F, 0x7F, 0x7F})), 10u + 0x0FFFFFFFu);
  EXPECT_EQ(Id3v2TagLength(Id3v2(kId3v2FooterFlag, {0, 0, 0x01, 0x00})), 10u + 128u + 10u);
}

TEST(Tags, NotAnId3v2Header) {
  EXPECT_EQ(Id3v2TagLength(Id3v2(0, {0, 0, 0x80, 0})), 0u); // not synchsafe
  Bytes b = Id3v2(0, {0, 0, 1, 0});
  b[3] = 0xFF;
  EXPECT_EQ(Id3v2TagLength(b), 0u);
  b = Id3v2(0, {0, 0, 1, 0});
  b[0] = 'i';
  EXPECT_EQ(Id3v2TagLength(b), 0u);
  const Bytes whole = Id3v2(0, {0, 0, 1, 0});
  EXPECT_EQ(Id3v2TagLength(std::span(whole).first(9)), 0u);
}

} // namespace
} // namespace id3::mpeg
