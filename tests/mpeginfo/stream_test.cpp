// The scan for the first frame and the facts derived from it, over bytes in
// memory.
#include "mpeginfo/stream.h"

#include "synth.h"

#include <gtest/gtest.h>

namespace id3::mpeg {
namespace {

using test::CountingSource;

using test::Bytes;
using test::Concat;
using test::Frames;
using test::kCbr128;
using test::V;

std::optional<std::uint64_t> FirstFrame(const Bytes& bytes) {
  const MemorySource src(bytes);
  const auto audio = LocateAudio(src);
  if (!audio) return std::nullopt;
  const auto found = FindFirstFrame(src, *audio);
  if (!found) return std::nullopt;
  return found->offset;
}

TEST(Scan, SkipsLeadingId3v2TagsWithTheirFooters) {
  const Bytes decoy = test::DecoyBody();
  EXPECT_EQ(FirstFrame(Concat({test::Id3v2Tag(decoy), Frames(kCbr128, 3)})), 10 + decoy.size());
  // Two tags in a row, the first with a footer.
  const Bytes two =
      Concat({test::Id3v2Tag(decoy, 0x10), test::Id3v2Tag(decoy), Frames(kCbr128, 3)});
  EXPECT_EQ(FirstFrame(two), 20 + decoy.size() + 10 + decoy.size());
  // Padding after the tag that its size does not count is scanned through.
  EXPECT_EQ(FirstFrame(Concat({test::Id3v2Tag(decoy), Bytes(100, 0), Frames(kCbr128, 3)})),
            10 + decoy.size() + 100);
}

TEST(Scan, PassesOverCandidatesWithAReservedField) {
  for (const test::Header bad :
       {test::Header{0xFF, 0xEB, 0x90, 0x00}, test::Header{0xFF, 0xF9, 0x90, 0x00},
        test::Header{0xFF, 0xFB, 0xF0, 0x00}, test::Header{0xFF, 0xFB, 0x9C, 0x00}}) {
    EXPECT_EQ(FirstFrame(Concat({Bytes(bad.begin(), bad.end()), Bytes(3, 0), Frames(kCbr128, 2)})),
              7u);
  }
}

TEST(Scan, ACandidateNeedsTheNextFrameOfTheSameStream) {
  // A header whose next frame (417 bytes on) is missing where the file has it.
  Bytes b = Concat({Bytes(kCbr128.begin(), kCbr128.end()), Bytes(500, 0), Frames(kCbr128, 2)});
  EXPECT_EQ(FirstFrame(b), 504u);
  // The next frame of another frequency or layer does not confirm it.
  b = Concat({Frames(kCbr128, 1), Frames({0xFF, 0xFB, 0x94, 0x00}, 2)});
  EXPECT_EQ(FirstFrame(b), 417u);
  b = Concat({Frames(kCbr128, 1), Frames({0xFF, 0xFD, 0x90, 0x00}, 2)});
  EXPECT_EQ(FirstFrame(b), 417u);
  // Another bit rate or channel mode does.
  EXPECT_EQ(FirstFrame(Concat({Frames(kCbr128, 1), Frames({0xFF, 0xFB, 0xA0, 0xC0}, 2)})), 0u);
  // Where the file ends before the next frame, or an ID3v1 tag stands there,
  // the candidate is taken.
  EXPECT_EQ(FirstFrame(Frames(kCbr128, 1)), 0u);
  EXPECT_EQ(FirstFrame(Concat({Frames(kCbr128, 1), test::Id3v1Tag()})), 0u);
}

TEST(Scan, FreeFormatNeedsAnotherFreeFormatHeaderWithinReach) {
  const test::Header free = {0xFF, 0xFB, 0x00, 0x00};
  const Bytes lone =
      Concat({Bytes(free.begin(), free.end()), Bytes(3000, 0x11), Frames(kCbr128, 2)});
  EXPECT_EQ(FirstFrame(lone), 3004u);
  const Bytes pair = Concat({Bytes(free.begin(), free.end()), Bytes(700, 0x11),
                             Bytes(free.begin(), free.end()), Bytes(3000, 0x11)});
  EXPECT_EQ(FirstFrame(pair), 0u);
  // Where the audio ends within reach, the header is taken.
  EXPECT_EQ(FirstFrame(Concat({Bytes(free.begin(), free.end()), Bytes(1000, 0)})), 0u);
}

TEST(Scan, NoCandidateInsideTheId3v1Tag) {
  Bytes tag = test::Id3v1Tag();
  std::copy(kCbr128.begin(), kCbr128.end(), tag.begin() + 3);
  EXPECT_EQ(FirstFrame(Concat({Bytes(300, 0x55), tag})), std::nullopt);
}

TEST(Scan, HeadersAcrossBlockBoundariesAndFarIn) {
  for (const std::size_t junk : {4094u, 4095u, 4096u, 12286u, 3u << 20}) {
    const Bytes b = Concat({Bytes(junk, 0x11), Frames(kCbr128, 2)});
    EXPECT_EQ(FirstFrame(b), junk) << junk;
  }
  // A candidate near a block's end whose next frame lies in the next block.
  const Bytes b = Concat({Bytes(4000, 0x11), Frames(kCbr128, 2)});
  EXPECT_EQ(FirstFrame(b), 4000u);
}

TEST(Scan, ReadsInBlocks) {
  const Bytes b = Concat({Bytes(1u << 20, 0x11), Frames(kCbr128, 2)});
  const CountingSource src(b);
  ASSERT_EQ(FindFirstFrame(src, AudioSpan{.begin = 0, .end = b.size()})->offset, 1u << 20);
  EXPECT_LT(src.reads, 20);
}

TEST(Scan, LastCandidateIsSixBytesBeforeTheEnd) {
  Bytes b(10, 0);
  std::copy(kCbr128.begin(), kCbr128.end(), b.begin() + 4); // at L - 6
  EXPECT_EQ(FirstFrame(b), 4u);
  b.assign(10, 0);
  std::copy(kCbr128.begin(), kCbr128.end(), b.begin() + 5); // at L - 5
  EXPECT_EQ(FirstFrame(b), std::nullopt);
  // A file of 4 or 5 bytes has offset 0 examined, and only that.
  EXPECT_EQ(FirstFrame(Bytes(kCbr128.begin(), kCbr128.end())), 0u);
  EXPECT_EQ(FirstFrame(Bytes{0x00, 0xFF, 0xFB, 0x90, 0x00}), std::nullopt);
}

FrameHeader H(test::Header h) { return DecodeHeader(h); }

// MPEG-1 Layer III at 128 kbit/s is the worked example of clsMP3Info's tests.
TEST(Facts, ConstantBitRateFromTheHeader) {
  // MPEG-2 Layer III frames are half as long: 72 x 64000 / 22050 = 209 bytes.
  EXPECT_EQ(DeriveFacts(H({0xFF, 0xF3, 0x80, 0x00}), {}, 209'000)->num_frames, 1000);
  // Layer I: 48 x 384000 / 32000 = 576 bytes.
  EXPECT_EQ(DeriveFacts(H({0xFF, 0xFF, 0xC8, 0x00}), {}, 57'600)->num_frames, 100);
}

TEST(Facts, XingFrameCountGivesDurationAndAverage) {
  const VbrHeader xing = V(VbrKind::Xing, 10000);
  const auto f = DeriveFacts(H(kCbr128), xing, 4'100'000);
  ASSERT_TRUE(f);
  EXPECT_TRUE(f->vbr);
  EXPECT_DOUBLE_EQ(f->duration, 10000 * 1152 / 44100.0);
  // The block's own byte count before the audio bytes.
  VbrHeader with_bytes = xing;
  with_bytes.bytes = 2'000'000;
  EXPECT_EQ(DeriveFacts(H(kCbr128), with_bytes, 4'000'000)->bit_rate, 61);
  // MPEG-2.5 Layer III: 576 samples a frame.
  EXPECT_DOUBLE_EQ(DeriveFacts(H({0xFF, 0xE3, 0x18, 0x00}), xing, 1000)->duration, 720.0);
}

TEST(Facts, InfoKeepsTheHeadersBitRate) {
  const auto f = DeriveFacts(H(kCbr128), V(VbrKind::Info, 116), 48'000);
  ASSERT_TRUE(f);
  EXPECT_FALSE(f->vbr);
  EXPECT_EQ(f->bit_rate, 128);
  EXPECT_EQ(f->num_frames, 116);
  EXPECT_DOUBLE_EQ(f->duration, 116 * 1152 / 44100.0);
}

TEST(Facts, VbriIsAVbrBlock) {
  const auto f = DeriveFacts(H(kCbr128), V(VbrKind::Vbri, 2000, 500'000), 600'000);
  ASSERT_TRUE(f);
  EXPECT_TRUE(f->vbr);
  EXPECT_EQ(f->num_frames, 2000);
  EXPECT_EQ(f->bit_rate, 77); // 500,000 x 8 / 52.245 s
}

TEST(Facts, WhatCannotBeDerived) {
  EXPECT_FALSE(DeriveFacts(H({0xFF, 0xFB, 0x00, 0x00}), {}, 1000)); // free format, no count
  EXPECT_FALSE(DeriveFacts(H(kCbr128), V(VbrKind::Xing, 0), 1000));
  EXPECT_FALSE(DeriveFacts(H(kCbr128), V(VbrKind::Xing, 0x8000'0000u), 1000));
  // A Xing block without a count behind a free-format header: no bit rate,
  // as behind any other (see clsMP3Info's tests).
  EXPECT_EQ(DeriveFacts(H({0xFF, 0xFB, 0x00, 0x00}), V(VbrKind::Xing), 1000)->bit_rate, -1);
  // Free format with a count: the average, as the table has nothing.
  EXPECT_EQ(DeriveFacts(H({0xFF, 0xFB, 0x00, 0x00}), V(VbrKind::Xing, 100), 50'000)->bit_rate, 153);
}

TEST(Facts, RoundsHalfToEven) {
  EXPECT_EQ(RoundToInt32(2.5), 2);
  EXPECT_EQ(RoundToInt32(3.5), 4);
  EXPECT_EQ(RoundToInt32(-2.5), -2);
  EXPECT_EQ(RoundToInt32(2147483647.0), 2147483647);
  EXPECT_EQ(RoundToInt32(2147483647.6), std::nullopt);
  EXPECT_EQ(RoundToInt32(-2147483648.0), -2147483648);
  EXPECT_EQ(RoundToInt32(std::numeric_limits<double>::quiet_NaN()), std::nullopt);
}

} // namespace
} // namespace id3::mpeg
