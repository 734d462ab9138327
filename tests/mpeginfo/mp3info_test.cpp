// clsMP3Info over real files: the properties after a load, the empty values
// after a failed one, HeaderPos, FormatTime, and large files.
#include "mpeginfo/mp3info.h"

#include "mpeg_synth.h"
#include "sample_tag.h"
#include "tools/fileio.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace id3 {
namespace {

using test::Bytes;
using test::Concat;
using test::Frames;
using test::kCbr128;

void ExpectEmpty(const clsMP3Info& m) {
  EXPECT_EQ(std::tuple(m.ValidMP3(), m.FileName(), m.FileSize(), m.BitRate(), m.Frequency(),
                       m.SongLength(), m.NumFrames(), m.isVBR(), m.MPEGVer(), m.Layers()),
            std::tuple(false, "", 0, 0, 0, 0, 0, false, 0.0f, 0));
  EXPECT_EQ(std::tuple(m.Protected(), m.ChannelMode(), m.Copyrighted(), m.Original(), m.HeaderPos(),
                       m.Emphasis(), m.FormatTime()),
            std::tuple(false, "", false, false, 0, "", ""));
}

class Mp3Info : public test::ScratchTest {
protected:
  clsMP3Info info;

  // content, then zeros up to size bytes: a sparse file where the file
  // system allows.
  std::string MakeSized(const Bytes& content, std::uint64_t size) {
    const std::string path = Make("big.mp3", content);
    std::filesystem::resize_file(test::FromU8(path), size);
    return path;
  }
};

std::optional<io::IoError> FailReads(io::Operation op) {
  return op == io::Operation::Read ? std::optional(io::IoError::Other) : std::nullopt;
}

TEST_F(Mp3Info, FailuresLeaveEveryValueEmpty) {
  ExpectEmpty(info);
  const Bytes junk(5000, 0x55);
  const std::string junk_path = Make("junk.mp3", junk);
  const std::string good = Make("good.mp3", Frames(kCbr128, 2));
  for (const std::string& path :
       {dir.File("missing.mp3"), Make("short.mp3", Bytes{0xFF, 0xFB, 0x90}), junk_path,
        test::U8(dir.Path()), Make("five.mp3", Bytes{0x00, 0xFF, 0xFB, 0x90, 0x00}),
        // No audio in the first MiB behind the tags: not searched any further.
        MakeSized(Bytes{}, 1u << 30)}) {
    ASSERT_TRUE(info.LoadMP3(good));
    EXPECT_FALSE(info.LoadMP3(path)) << path;
    ExpectEmpty(info);
  }
  EXPECT_EQ(test::ReadAll(junk_path), junk); // only read
  io::SetFaultHook(&FailReads);
  const bool loaded = info.LoadMP3(good);
  io::SetFaultHook(nullptr);
  EXPECT_FALSE(loaded);
  ExpectEmpty(info);
}

TEST_F(Mp3Info, WorkedExample) {
  // Copyrighted, original, emphasis 50/15 ms.
  const std::string path = MakeSized(Frames({0xFF, 0xFB, 0x90, 0x0D}, 2), 4'000'000);
  ASSERT_TRUE(info.LoadMP3(path));
  EXPECT_EQ(std::tuple(info.ValidMP3(), info.FileName(), info.FileSize(), info.BitRate(),
                       info.Frequency(), info.SongLength(), info.NumFrames(), info.isVBR()),
            std::tuple(true, path, 4'000'000, 128, 44100, 250, 9570, false));
  EXPECT_EQ(std::tuple(info.MPEGVer(), info.Layers(), info.Protected(), info.ChannelMode(),
                       info.Copyrighted(), info.Original(), info.Emphasis(), info.HeaderPos(),
                       info.FormatTime()),
            std::tuple(1.0f, 3, false, "Stereo", true, true, "50/15 ms", 5, "4:10"));
}

TEST_F(Mp3Info, HeaderPosGainsFourWhenTwelveBytesFollow) {
  for (const std::size_t size : {4u, 5u, 17u, 18u, 400u}) {
    ASSERT_TRUE(info.LoadMP3(
        Make("a.mp3", Concat({Bytes(kCbr128.begin(), kCbr128.end()), Bytes(size - 4, 0)}))));
    EXPECT_EQ(info.HeaderPos(), size >= 18 ? 5 : 1) << size;
  }
  EXPECT_EQ(std::tuple(info.BitRate(), info.SongLength(), info.FormatTime()),
            std::tuple(128, 0, "0:00"));
}

TEST_F(Mp3Info, AudioBytesLeaveTheTagsOut) {
  const Bytes v2 = test::Id3v2Tag(Bytes(100'000, 0));
  const Bytes audio = Frames(kCbr128, 1000); // 417,000 bytes: 26.0625 s at 128 kbit/s
  ASSERT_TRUE(
      info.LoadMP3(Make("a.mp3", Concat({v2, audio, test::RecordBytes(test::SampleTag())}))));
  EXPECT_EQ(info.FileSize(), static_cast<std::int64_t>(v2.size() + audio.size() + 128));
  EXPECT_EQ(info.NumFrames(), 998); // 417,000 / 417.96
  EXPECT_DOUBLE_EQ(info.DurationSeconds(), 417'000 * 8 / 128'000.0);
}

TEST_F(Mp3Info, FilesOf256MiBAndMore) {
  // 600 MiB at 32 kbit/s: 43 hours, far past 16 bits of seconds and L x 8 in
  // 32 bits.
  const std::uint64_t size = 600ull << 20;
  ASSERT_TRUE(info.LoadMP3(MakeSized(Frames({0xFF, 0xFB, 0x10, 0x00}, 2), size)));
  EXPECT_EQ(std::tuple(info.FileSize(), info.BitRate(), info.SongLength(), info.NumFrames()),
            std::tuple(static_cast<std::int64_t>(size), 32, 157286, 6021120));
  EXPECT_EQ(info.FormatTime(), "43:41:26");
}

TEST(FormatTime, Texts) {
  const std::pair<std::int32_t, std::string_view> cases[] = {
      {0, "0:00"},           {7, "0:07"},       {250, "4:10"},     {600, "10:00"},
      {3599, "59:59"},       {3600, "1:00:00"}, {3725, "1:02:05"}, {32767, "9:06:07"},
      {360000, "100:00:00"}, {-1, ""}};
  for (const auto& [seconds, text] : cases) EXPECT_EQ(FormatSongLength(seconds), text) << seconds;
}

} // namespace
} // namespace id3
