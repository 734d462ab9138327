// The scan for the first frame, the walk over the frames and the facts derived
// from them, over bytes in memory.
#include "mpeginfo/stream.h"

#include "mpeg_synth.h"
#include "sample_tag.h"

#include <gtest/gtest.h>

#include <cmath>

namespace id3::mpeg {
namespace {

using test::Bytes;
using test::Concat;
using test::Frames;
using test::kCbr128;
using test::V;

const test::Header kFree = {0xFF, 0xFB, 0x00, 0x00};
const test::Header k48k = {0xFF, 0xFB, 0x94, 0x00};

Bytes Of(test::Header h) { return Bytes(h.begin(), h.end()); }

std::optional<std::uint64_t> FirstFrame(const Bytes& bytes) {
  const io::MemorySource src(bytes);
  const auto found = FindFirstFrame(src, *LocateAudio(src));
  return found ? std::optional(found->offset) : std::nullopt;
}

TEST(Scan, CandidatesAndWhereTheyAreLookedFor) {
  Bytes in_tag = test::RecordBytes(test::SampleTag());
  std::copy(kCbr128.begin(), kCbr128.end(), in_tag.begin() + 3);
  const Bytes tag = test::Id3v2Tag(test::DecoyBody());
  const Bytes footed = test::Id3v2Tag(test::DecoyBody(), 0x10);
  const std::pair<Bytes, std::optional<std::uint64_t>> cases[] = {
      // Behind the ID3v2 tags, and padding that their sizes do not count.
      {Concat({footed, tag, Frames(kCbr128, 3)}), footed.size() + tag.size()},
      {Concat({tag, Bytes(100, 0), Frames(kCbr128, 3)}), tag.size() + 100},
      {Concat({Bytes{0xFF, 0xFB, 0xF0, 0x00}, Frames(kCbr128, 2)}), 4}, // a reserved field
      // Where its next frame should start, 417 bytes on, there is none.
      {Concat({Of(kCbr128), Bytes(500, 0), Frames(kCbr128, 2)}), 504},
      // The next frame is of another frequency or layer; another bit rate or mode is fine.
      {Concat({Frames(kCbr128, 1), Frames(k48k, 2)}), 417},
      {Concat({Frames(kCbr128, 1), Frames({0xFF, 0xFD, 0x90, 0x00}, 2)}), 417},
      {Concat({Frames(kCbr128, 1), Frames({0xFF, 0xFB, 0xA0, 0xC0}, 2)}), 0},
      // The file ends, or an ID3v1 tag stands, where the next frame would.
      {Concat({Frames(kCbr128, 1), Bytes(3, 0)}), 0},
      {Concat({Frames(kCbr128, 1), Bytes(4, 0)}), std::nullopt}, // room for a header: none
      {Concat({Frames(kCbr128, 1), test::RecordBytes(test::SampleTag())}), 0},
      {Concat({Bytes(300, 0x55), in_tag}), std::nullopt}, // a header inside the ID3v1 tag
      {in_tag, std::nullopt},
      // Free format: another free-format header within the longest frame's reach.
      {Concat({Of(kFree), Bytes(3000, 0), Frames(kCbr128, 2)}), 3004}, // zeros: no header
      {Concat({Of(kFree), Bytes(700, 0x11), Of(kFree), Bytes(3000, 0x11)}), 0},
      {Concat({Of(kFree), Bytes(2884, 0x11)}), 0}, // the audio ends within reach
      {Concat({Of(kFree), Bytes(2885, 0x11)}), std::nullopt},
      // The last offset examined is L - 6; in a file of 4 or 5 bytes, 0.
      {Concat({Bytes(4, 0), Of(kCbr128), Bytes(2, 0)}), 4},
      {Concat({Bytes(5, 0), Of(kCbr128), Bytes(1, 0)}), std::nullopt},
      {Of(kCbr128), 0},
      {Concat({Bytes{0}, Of(kCbr128)}), std::nullopt},
      // An ID3v2 tag that claims more than the file holds.
      {Concat({Bytes{'I', 'D', '3', 3, 0, 0, 0, 0x7F, 0x7F, 0x7F}, Frames(kCbr128, 6)}),
       std::nullopt},
  };
  for (const auto& [bytes, want] : cases) EXPECT_EQ(FirstFrame(bytes), want) << bytes.size();
}

TEST(Scan, BlockEdgesAndTheSearchLimit) {
  // 4093 and 12282 are where the second and third blocks start.
  for (const std::size_t junk : {4000u, 4093u, 4094u, 12282u, 12283u}) {
    EXPECT_EQ(FirstFrame(Concat({Bytes(junk, 0x11), Frames(kCbr128, 2)})), junk);
  }
  // The first frame is looked for within 1 MiB.
  const Bytes far = Concat({Bytes((1 << 20) - 1, 0), Frames(kCbr128, 2)});
  const test::CountingSource src(far);
  EXPECT_EQ(FindFirstFrame(src, AudioSpan{.begin = 0, .end = far.size()})->offset,
            far.size() - 834);
  EXPECT_LT(src.reads, 20);
  EXPECT_EQ(FirstFrame(Concat({Bytes(1 << 20, 0), Frames(kCbr128, 2)})), std::nullopt);
  // The limit counts from the end of the ID3v2 tags.
  const Bytes tag = test::Id3v2Tag(Bytes(5000, 0));
  EXPECT_EQ(FirstFrame(Concat({tag, far})), tag.size() + far.size() - 834);
}

TEST(Walk, WholeFramesOfTheStreamUpToAGapOrTheEndOfTheAudio) {
  Bytes cut = Frames(kCbr128, 5);
  cut.pop_back();
  const std::pair<Bytes, std::uint32_t> cases[] = {
      {Concat({Frames(kCbr128, 5), Bytes(100, 0), Frames(kCbr128, 5)}), 5},
      {Concat({Frames(kCbr128, 5), test::RecordBytes(test::SampleTag())}), 5},
      {Concat({Frames(kCbr128, 4), Frames({0xFF, 0xFB, 0xA2, 0xC0}, 3)}), 7},
      {Concat({Frames(kCbr128, 3), Frames(k48k, 2)}), 3},
      {cut, 4},
      {Concat({Of(kFree), Bytes(1000, 0)}), 0},
  };
  for (const auto& [bytes, frames] : cases) {
    const io::MemorySource src(bytes);
    const auto audio = LocateAudio(src);
    const auto walk = WalkFrames(src, *FindFirstFrame(src, *audio), audio->end);
    EXPECT_EQ(walk->frames, frames) << bytes.size();
  }
  // 83,465 bytes of frames, the 158th header across the end of the first
  // 64 KiB block: two blocks, two reads.
  const Bytes frames = Concat({Frames({0xFF, 0xFB, 0x92, 0x00}, 65), Frames(kCbr128, 135)});
  const test::CountingSource src(frames);
  const auto walk = WalkFrames(src, FoundFrame{.header = DecodeHeader(kCbr128)}, frames.size());
  EXPECT_EQ(std::tuple(walk->frames, walk->bytes, src.reads), std::tuple(200u, frames.size(), 2));
}

// A Xing block without a count has the frames of the stream counted (lame's
// file in audio_facts_test), but not with only the block's own frame, or in
// free format.
TEST(Walk, NothingToCountBehindAXingBlockWithoutACount) {
  const Bytes xing = Concat({test::Text("Xing"), test::Be32(0)});
  EXPECT_FALSE(AnalyseStream(io::MemorySource(Frames(kCbr128, 1, 36, xing))));
  EXPECT_FALSE(
      AnalyseStream(io::MemorySource(Concat({Of(kFree), Bytes(32, 0), xing, Bytes(999, 0)}))));
}

FrameHeader H(test::Header h) { return DecodeHeader(h); }

// What the real files of audio_facts_test do not show.
TEST(Facts, FromTheHeaderOrTheBlock) {
  const auto vbri = DeriveFacts(H(kCbr128), V(VbrKind::Vbri, 2000, 500'000), 600'000);
  EXPECT_EQ(std::tuple(vbri->vbr, vbri->bit_rate, vbri->frame_count), std::tuple(true, 77, 2000));
  // Free format with a count: the average, as the table has nothing.
  EXPECT_EQ(DeriveFacts(H(kFree), V(VbrKind::Xing, 100), 50'000)->bit_rate, 153);
  EXPECT_EQ(DeriveFacts(H(kCbr128), V(VbrKind::Info), 417'000)->frame_count, 998); // no count
  EXPECT_FALSE(DeriveFacts(H(kFree), {}, 1000)); // no bit rate, no count
  EXPECT_FALSE(DeriveFacts(H(kCbr128), V(VbrKind::Xing), 1000));
  EXPECT_FALSE(DeriveFacts(H(kCbr128), V(VbrKind::Xing, 0), 1000));
  EXPECT_TRUE(DeriveFacts(H(kCbr128), V(VbrKind::Xing, 0x7FFF'FFFFu), 1000));
  EXPECT_FALSE(DeriveFacts(H(kCbr128), V(VbrKind::Xing, 0x8000'0000u), 1000));
  for (const VbrHeader& vbr : {VbrHeader{}, V(VbrKind::Xing, 100)}) // no frequency
    EXPECT_FALSE(DeriveFacts(H({0xFF, 0xFB, 0x9C, 0x00}), vbr, 1000));
}

TEST(Facts, RoundsHalfToEvenWithin32Bits) {
  EXPECT_EQ(std::tuple(RoundToInt32(2.5), RoundToInt32(3.5), RoundToInt32(-2.5),
                       RoundToInt32(2147483647.0), RoundToInt32(-2147483648.0)),
            std::tuple(2, 4, -2, 2147483647, -2147483648));
  EXPECT_EQ(std::tuple(RoundToInt32(2147483647.6), RoundToInt32(NAN)),
            std::tuple(std::nullopt, std::nullopt));
}

} // namespace
} // namespace id3::mpeg
