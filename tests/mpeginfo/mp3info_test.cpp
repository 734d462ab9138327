// clsMP3Info over real files: the properties after a load, the empty values
// after a failed one, HeaderPos, FormatTime, and files past 256 MiB.
#include "mpeginfo/mp3info.h"

#include "synth.h"
#include "tools/fileio.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace id3 {
namespace {

using test::Bytes;
using test::Concat;
using test::Frames;
using test::kCbr128;

void ExpectEmpty(const clsMP3Info& m) {
  EXPECT_FALSE(m.ValidMP3());
  EXPECT_EQ(m.FileName(), "");
  EXPECT_EQ(m.FileSize(), 0);
  EXPECT_EQ(m.BitRate(), 0);
  EXPECT_EQ(m.Frequency(), 0);
  EXPECT_EQ(m.SongLength(), 0);
  EXPECT_EQ(m.NumFrames(), 0);
  EXPECT_FALSE(m.isVBR());
  EXPECT_EQ(m.MPEGVer(), 0.0f);
  EXPECT_EQ(m.Layers(), 0);
  EXPECT_FALSE(m.Protected());
  EXPECT_EQ(m.ChannelMode(), "");
  EXPECT_FALSE(m.Copyrighted());
  EXPECT_FALSE(m.Original());
  EXPECT_EQ(m.HeaderPos(), 0);
  EXPECT_EQ(m.Emphasis(), "");
  EXPECT_EQ(m.FormatTime(), "");
}

class Mp3Info : public ::testing::Test {
protected:
  test::ScratchDir dir;
  clsMP3Info info;

  std::string Make(const Bytes& content, std::string_view name = "a.mp3") {
    const std::string path = dir.File(name);
    test::WriteAll(path, content);
    return path;
  }
  // content, then zeros up to size bytes: a sparse file where the file
  // system allows.
  std::string MakeSized(const Bytes& content, std::uint64_t size) {
    const std::string path = Make(content, "big.mp3");
    std::filesystem::resize_file(test::FromU8(path), size);
    return path;
  }
};

TEST_F(Mp3Info, EmptyBeforeAnyLoad) { ExpectEmpty(info); }

TEST_F(Mp3Info, WorkedExample) {
  const std::string path = MakeSized(Frames(kCbr128, 2), 4'000'000);
  ASSERT_TRUE(info.LoadMP3(path));
  EXPECT_TRUE(info.ValidMP3());
  EXPECT_EQ(info.FileName(), path);
  EXPECT_EQ(info.FileSize(), 4'000'000);
  EXPECT_EQ(info.BitRate(), 128);
  EXPECT_EQ(info.Frequency(), 44100);
  EXPECT_EQ(info.SongLength(), 250);
  EXPECT_EQ(info.NumFrames(), 9570);
  EXPECT_FALSE(info.isVBR());
  EXPECT_EQ(info.MPEGVer(), 1.0f);
  EXPECT_EQ(info.Layers(), 3);
  EXPECT_TRUE(info.Protected() == false);
  EXPECT_EQ(info.ChannelMode(), "Stereo");
  EXPECT_EQ(info.Emphasis(), "None");
  EXPECT_EQ(info.HeaderPos(), 5);
  EXPECT_EQ(info.FormatTime(), "4:10");
}

TEST_F(Mp3Info, HeaderPosGainsFourWhenTwelveBytesFollow) {
  const Bytes header(kCbr128.begin(), kCbr128.end());
  for (const std::size_t size : {4u, 5u, 17u, 18u, 400u}) {
    ASSERT_TRUE(info.LoadMP3(Make(Concat({header, Bytes(size - 4, 0)})))) << size;
    EXPECT_EQ(info.HeaderPos(), size >= 18 ? 5 : 1) << size;
  }
  // Behind an ID3v2 tag: the header's own position.
  const Bytes tag = test::Id3v2Tag(test::DecoyBody());
  ASSERT_TRUE(info.LoadMP3(Make(Concat({tag, Frames(kCbr128, 3)}))));
  EXPECT_EQ(info.HeaderPos(), static_cast<std::int64_t>(tag.size()) + 1 + 4);
}

TEST_F(Mp3Info, FourByteFile) {
  ASSERT_TRUE(info.LoadMP3(Make(Bytes(kCbr128.begin(), kCbr128.end()))));
  EXPECT_EQ(info.BitRate(), 128);
  EXPECT_EQ(info.Frequency(), 44100);
  EXPECT_EQ(info.SongLength(), 0);
  EXPECT_EQ(info.HeaderPos(), 1);
  EXPECT_EQ(info.FormatTime(), "0:00");
  // In five bytes only the first position is examined.
  EXPECT_FALSE(info.LoadMP3(Make(Bytes{0x00, 0xFF, 0xFB, 0x90, 0x00})));
}

TEST_F(Mp3Info, FailuresLeaveEveryValueEmpty) {
  ASSERT_TRUE(info.LoadMP3(Make(Frames(kCbr128, 2), "good.mp3")));
  EXPECT_FALSE(info.LoadMP3(dir.File("missing.mp3")));
  ExpectEmpty(info);
  ASSERT_TRUE(info.LoadMP3(Make(Frames(kCbr128, 2), "good.mp3")));
  EXPECT_FALSE(info.LoadMP3(Make(Bytes{0xFF, 0xFB, 0x90})));
  ExpectEmpty(info);
  const Bytes junk(5000, 0x55);
  const std::string junk_path = Make(junk);
  EXPECT_FALSE(info.LoadMP3(junk_path));
  ExpectEmpty(info);
  EXPECT_EQ(test::ReadAll(junk_path), junk); // only read
  EXPECT_FALSE(info.LoadMP3(test::U8(dir.Path())));
  ExpectEmpty(info);
}

std::optional<io::IoError> FailReads(io::Operation op) {
  return op == io::Operation::Read ? std::optional(io::IoError::Other) : std::nullopt;
}

TEST_F(Mp3Info, AReadFailureIsAFailedLoad) {
  const std::string path = Make(Frames(kCbr128, 2));
  io::SetFaultHook(&FailReads);
  const bool loaded = info.LoadMP3(path);
  io::SetFaultHook(nullptr);
  EXPECT_FALSE(loaded);
  ExpectEmpty(info);
}

TEST_F(Mp3Info, EmphasisCopyrightAndOriginalBits) {
  const std::array<std::string_view, 4> texts = {"None", "50/15 ms", "Reserved", "CCIT J.17"};
  for (std::uint8_t bits = 0; bits < 16; ++bits) {
    ASSERT_TRUE(info.LoadMP3(Make(Frames({0xFF, 0xFB, 0x90, bits}, 2))));
    EXPECT_EQ(info.Emphasis(), texts[bits & 3]);
    EXPECT_EQ(info.Original(), (bits & 4) != 0);
    EXPECT_EQ(info.Copyrighted(), (bits & 8) != 0);
  }
}

TEST_F(Mp3Info, ReservedBitRateIndexIsNoHeader) {
  // FF FB F0 00 has the sync bits but a reserved bit-rate index: the scan
  // goes on to the real frame behind it.
  const Bytes bad = {0xFF, 0xFB, 0xF0, 0x00};
  EXPECT_FALSE(info.LoadMP3(Make(Concat({bad, Bytes(100, 0)}))));
  ASSERT_TRUE(info.LoadMP3(Make(Concat({bad, Frames(kCbr128, 2)}))));
  EXPECT_EQ(info.HeaderPos(), 5 + 4);
}

TEST_F(Mp3Info, FreeFormatNeedsAFrameCount) {
  const test::Header free = {0xFF, 0xFB, 0x00, 0x00};
  EXPECT_FALSE(info.LoadMP3(Make(Concat({Bytes(free.begin(), free.end()), Bytes(1000, 0)}))));
  const Bytes xing = Concat({test::Text("Xing"), test::Be32(1), test::Be32(100)});
  Bytes file = Concat({Bytes(free.begin(), free.end()), Bytes(1000, 0)});
  std::copy(xing.begin(), xing.end(), file.begin() + 36);
  ASSERT_TRUE(info.LoadMP3(Make(file)));
  EXPECT_EQ(info.NumFrames(), 100);
  EXPECT_TRUE(info.isVBR());
}

TEST_F(Mp3Info, XingWithoutFrameCount) {
  const Bytes xing = Concat({test::Text("Xing"), test::Be32(0)});
  ASSERT_TRUE(info.LoadMP3(MakeSized(test::FramesWithBlock(kCbr128, 4, xing, 2), 1'000'000)));
  EXPECT_TRUE(info.isVBR());
  EXPECT_EQ(info.BitRate(), -1);
  EXPECT_EQ(info.NumFrames(), 0);
  EXPECT_EQ(info.SongLength(), -8000);
  EXPECT_EQ(info.FormatTime(), "");
  // Past 4,096,062 bytes the duration no longer fits 16 bits; it loads all the same.
  ASSERT_TRUE(info.LoadMP3(MakeSized(test::FramesWithBlock(kCbr128, 4, xing, 2), 5'000'000)));
  EXPECT_EQ(info.SongLength(), -40000);
}

TEST_F(Mp3Info, XingFrameCountIsBigEndian) {
  // 00 00 27 10 is 10,000 frames: big-endian, as encoders write it.
  const Bytes xing = Concat({test::Text("Xing"), test::Be32(1), Bytes{0x00, 0x00, 0x27, 0x10}});
  ASSERT_TRUE(info.LoadMP3(MakeSized(test::FramesWithBlock(kCbr128, 36, xing, 2), 4'100'000)));
  EXPECT_EQ(info.NumFrames(), 10000);
  EXPECT_EQ(info.SongLength(), 261);
  EXPECT_EQ(info.BitRate(), 126);
  EXPECT_EQ(info.HeaderPos(), 5);
}

TEST_F(Mp3Info, AudioBytesLeaveTheTagsOut) {
  const Bytes v2 = test::Id3v2Tag(Bytes(100'000, 0));
  const Bytes audio = Frames(kCbr128, 1000); // 417,000 bytes: 26.0625 s at 128 kbit/s
  ASSERT_TRUE(info.LoadMP3(Make(Concat({v2, audio, test::Id3v1Tag()}))));
  EXPECT_EQ(info.FileSize(), static_cast<std::int64_t>(v2.size() + audio.size() + 128));
  EXPECT_EQ(info.NumFrames(), 998); // 417,000 / 417.96
  EXPECT_DOUBLE_EQ(info.DurationSeconds(), 417'000 * 8 / 128'000.0);
  EXPECT_EQ(info.SongLength(), 26);
}

TEST_F(Mp3Info, FilesOf256MiBAndMore) {
  // 600 MiB at 32 kbit/s: 43 hours, far past 16 bits of seconds and L x 8 in
  // 32 bits.
  const std::uint64_t size = 600ull << 20;
  ASSERT_TRUE(info.LoadMP3(MakeSized(Frames({0xFF, 0xFB, 0x10, 0x00}, 2), size)));
  EXPECT_EQ(info.FileSize(), static_cast<std::int64_t>(size));
  EXPECT_EQ(info.BitRate(), 32);
  EXPECT_EQ(info.SongLength(), 157286); // 629,145,600 x 8 / 32,000 = 157,286.4
  EXPECT_EQ(info.FormatTime(), "43:41:26");
  EXPECT_EQ(info.NumFrames(), 6021120); // 629,145,600 / 104.49
}

TEST(FormatTime, Texts) {
  EXPECT_EQ(FormatSongLength(0), "0:00");
  EXPECT_EQ(FormatSongLength(7), "0:07");
  EXPECT_EQ(FormatSongLength(250), "4:10");
  EXPECT_EQ(FormatSongLength(600), "10:00");
  EXPECT_EQ(FormatSongLength(3599), "59:59");
  EXPECT_EQ(FormatSongLength(3600), "1:00:00");
  EXPECT_EQ(FormatSongLength(3725), "1:02:05");
  EXPECT_EQ(FormatSongLength(32767), "9:06:07");
  EXPECT_EQ(FormatSongLength(360000), "100:00:00");
  EXPECT_EQ(FormatSongLength(-1), "");
  EXPECT_EQ(FormatSongLength(-32768), "");
}

} // namespace
} // namespace id3
