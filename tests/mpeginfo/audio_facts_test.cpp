// AudioFacts over real files: the properties after a load, the empty values
// after a failed one, FirstFrameOffset, the duration's text, large files; real
// encoder output and other projects' test files.
#include "mpeginfo/audio_facts.h"

#include "mpeg_synth.h"
#include "sample_tag.h"
#include "tools/fileio.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>

namespace id3 {
namespace {

using test::Bytes;
using test::Concat;
using test::Frames;
using test::kCbr128;

void ExpectEmpty(const AudioFacts& m) {
  EXPECT_EQ(std::tuple(m.Valid(), m.FileName(), m.FileSize(), m.BitRate(), m.Frequency(),
                       m.Seconds(), m.FrameCount(), m.IsVbr(), m.MpegVersion(), m.Layer()),
            std::tuple(false, "", 0, 0, 0, 0, 0, false, 0.0f, 0));
  EXPECT_EQ(std::tuple(m.HasCrc(), m.ChannelMode(), m.Copyrighted(), m.Original(),
                       m.FirstFrameOffset(), m.Emphasis(), m.DurationText()),
            std::tuple(false, "", false, false, 0, "", ""));
}

class AudioFactsTest : public test::ScratchTest {
protected:
  AudioFacts info;

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

TEST_F(AudioFactsTest, FailuresLeaveEveryValueEmpty) {
  ExpectEmpty(info);
  const std::string junk_path = Make("junk.mp3", Bytes(5000, 0x55));
  const std::string good = Make("good.mp3", Frames(kCbr128, 2));
  for (const std::string& path :
       {dir.File("missing.mp3"), Make("short.mp3", Bytes{0xFF, 0xFB, 0x90}), junk_path,
        test::U8(dir.Path()), Make("five.mp3", Bytes{0x00, 0xFF, 0xFB, 0x90, 0x00}),
        // No audio in the first MiB behind the tags: not searched any further.
        MakeSized(Bytes{}, 1u << 30)}) {
    ASSERT_TRUE(info.Load(good));
    EXPECT_FALSE(info.Load(path)) << path;
    ExpectEmpty(info);
  }
  EXPECT_EQ(test::ReadAll(junk_path), Bytes(5000, 0x55)); // only read
  io::SetFaultHook(&FailReads);
  const bool loaded = info.Load(good);
  io::SetFaultHook(nullptr);
  EXPECT_FALSE(loaded);
  ExpectEmpty(info);
}

TEST_F(AudioFactsTest, WorkedExampleAndAHeaderAlone) {
  // Copyrighted, original, emphasis 50/15 ms.
  const std::string path = MakeSized(Frames({0xFF, 0xFB, 0x90, 0x0D}, 2), 4'000'000);
  ASSERT_TRUE(info.Load(path));
  EXPECT_EQ(std::tuple(info.Valid(), info.FileName(), info.FileSize(), info.BitRate(),
                       info.Frequency(), info.Seconds(), info.FrameCount(), info.IsVbr()),
            std::tuple(true, path, 4'000'000, 128, 44100, 250, 9570, false));
  EXPECT_EQ(std::tuple(info.MpegVersion(), info.Layer(), info.HasCrc(), info.ChannelMode(),
                       info.Copyrighted(), info.Original(), info.Emphasis(),
                       info.FirstFrameOffset(), info.DurationText()),
            std::tuple(1.0f, 3, false, "Stereo", true, true, "50/15 ms", 0, "4:10"));
  // A header alone lasts no time.
  ASSERT_TRUE(info.Load(Make("a.mp3", Bytes(kCbr128.begin(), kCbr128.end()))));
  EXPECT_EQ(std::tuple(info.BitRate(), info.Seconds(), info.DurationText()),
            std::tuple(128, 0, "0:00"));
}

TEST_F(AudioFactsTest, AudioBytesLeaveTheTagsOut) {
  const Bytes v2 = test::Id3v2Tag(Bytes(100'000, 0));
  const Bytes audio = Frames(kCbr128, 1000); // 417,000 bytes: 26.0625 s at 128 kbit/s
  ASSERT_TRUE(info.Load(Make("a.mp3", Concat({v2, audio, test::RecordBytes(test::SampleTag())}))));
  EXPECT_EQ(info.FileSize(), static_cast<std::int64_t>(v2.size() + audio.size() + 128));
  EXPECT_EQ(info.FrameCount(), 998); // 417,000 / 417.96
  EXPECT_DOUBLE_EQ(info.ExactSeconds(), 417'000 * 8 / 128'000.0);
}

TEST_F(AudioFactsTest, FilesOf256MiBAndMore) {
  // 600 MiB at 32 kbit/s: 43 hours, far past 16 bits of seconds and L x 8 in
  // 32 bits.
  const std::uint64_t size = 600ull << 20;
  ASSERT_TRUE(info.Load(MakeSized(Frames({0xFF, 0xFB, 0x10, 0x00}, 2), size)));
  EXPECT_EQ(std::tuple(info.FileSize(), info.BitRate(), info.Seconds(), info.FrameCount()),
            std::tuple(static_cast<std::int64_t>(size), 32, 157286, 6021120));
  EXPECT_EQ(info.DurationText(), "43:41:26");
  // The other forms: WorkedExampleAndAHeaderAlone shows "4:10" and "0:00".
  EXPECT_EQ(std::tuple(FormatDuration(600), FormatDuration(3725), FormatDuration(-1)),
            std::tuple("10:00", "1:02:05", ""));
}

// The encoder fixtures come from tests/data/mpeginfo/make-fixtures, with what
// ffprobe read from each at generation time in reference.tsv. Durations of
// files with a frame count must agree with ffprobe's to 0.1 %, the others' to
// 1 s.
TEST(Fixtures, AgreeWithFfprobe) {
  std::ifstream in(test::FromU8(test::DataFile("mpeginfo/reference.tsv")));
  std::string line, file, codec, block; // block: "xing", "info" or "none"
  int rows = 0, frequency = 0, channels = 0;
  double duration = 0;
  std::getline(in, line); // column names
  while (in >> file >> frequency >> duration >> channels >> codec >> block) {
    SCOPED_TRACE(file);
    ++rows;
    AudioFacts m;
    ASSERT_TRUE(m.Load(test::DataFile("mpeginfo/" + file)));
    EXPECT_EQ(m.Frequency(), frequency);
    EXPECT_NEAR(m.ExactSeconds(), duration, block == "none" ? 1.0 : duration * 0.001);
    EXPECT_EQ(m.Seconds(), std::lround(duration));
    EXPECT_EQ(m.IsVbr(), block == "xing");
    EXPECT_EQ(m.Layer(), codec == "mp2" ? 2 : 3);
    EXPECT_EQ(m.ChannelMode() == "Single channel", channels == 1);
    EXPECT_GT(m.BitRate(), 0);
  }
  EXPECT_GE(rows, 16);
}

// An Info block keeps the header's rate; a Xing block without a frame count
// (lame's file with the count taken out by make-fixtures) has the frames
// counted instead, to the same facts.
TEST(Fixtures, InfoBlockAndXingWithoutAFrameCount) {
  AudioFacts cover, with, without;
  // lame's ID3v2 tag with a picture, then an Info block: 12,142 bytes in.
  ASSERT_TRUE(cover.Load(test::DataFile("mpeginfo/cbr-cover-v2.mp3")));
  EXPECT_EQ(std::tuple(cover.FirstFrameOffset(), cover.BitRate(), cover.FrameCount()),
            std::tuple(12142, 128, 116));
  ASSERT_TRUE(with.Load(test::DataFile("mpeginfo/vbr-v2.mp3")));
  ASSERT_TRUE(without.Load(test::DataFile("mpeginfo/vbr-v2-nocount.mp3")));
  EXPECT_EQ(
      std::tuple(without.FrameCount(), without.BitRate(), without.Seconds(), without.ExactSeconds(),
                 without.IsVbr()),
      std::tuple(with.FrameCount(), with.BitRate(), with.Seconds(), with.ExactSeconds(), true));
  EXPECT_EQ(without.FrameCount(), 116);
}

// Other projects' files, with what their own tests assert (see ATTRIBUTION).
TEST(PublicSamples, HeaderFactsAndDurations) {
  const struct {
    const char* file;
    float version;
    int layer, frequency, bit_rate, frames;
    double duration;
    const char* mode;
    bool vbr, crc;
    std::int64_t first_frame;
  } cases[] = {
      {"tinytag-mpeg1_44_1khz.mp1", 1, 1, 44100, 224, 11, 0.09578, "Stereo", false, false, 0},
      {"tinytag-mpeg1_48khz.mp2", 1, 2, 48000, 384, 5, 0.12, "Stereo", false, false, 0},
      {"tinytag-mpeg2_24khz.mp2", 2, 2, 24000, 160, 3, 0.144, "Stereo", false, false, 0},
      // tinytag reports 8 kbit/s; the average over the block's 576 bytes is 16.
      {"tinytag-mpeg25_8khz_vbr.mp3", 2.5f, 3, 8000, 16, 4, 0.288, "Joint stereo", true, false, 0},
      {"lofty-rs-full_test.mp1", 1, 1, 32000, 384, 49, 0.588, "Stereo", false, true, 0},
      {"music-metadata-issue-347.mp3", 2.5f, 3, 8000, 8, 558, 40.176, "Single channel", 0, 0, 0},
      // ID3v2.3, Xing and ID3v1; false syncs inside the ID3v2 tag, before the
      // frame and in the ID3v1 title; the last frame one byte short. mp3agic's
      // 125 kbit/s leaves out the Xing frame, which the block's byte count holds.
      {"mp3agic-v1andv23tags.mp3", 1, 3, 44100, 146, 6, 00.156735, "Joint stereo", 1, 0, 1099},
      {"mp3agic-dummyframes.mp3", 1, 3, 44100, 146, 6, 0.156735, "Joint stereo", 1, 0, 1099},
      {"mp3agic-incompletempegframe.mp3", 1, 3, 44100, 146, 6, .156735, "Joint stereo", 1, 0, 1099},
  };
  const auto file = [](std::string name) { return test::DataFile("mpeginfo/public/" + name); };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    AudioFacts m;
    ASSERT_TRUE(m.Load(file(c.file)));
    EXPECT_EQ(std::tuple(m.MpegVersion(), m.Layer(), m.Frequency(), m.BitRate(), m.FrameCount()),
              std::tuple(c.version, c.layer, c.frequency, c.bit_rate, c.frames));
    EXPECT_NEAR(m.ExactSeconds(), c.duration, 0.0005);
    EXPECT_EQ(std::tuple(m.ChannelMode(), m.IsVbr(), m.HasCrc(), m.FirstFrameOffset()),
              std::tuple(c.mode, c.vbr, c.crc, c.first_frame));
  }
  AudioFacts m;
  ASSERT_TRUE(m.Load(file("mp3agic-v1andv23tags.mp3")));
  EXPECT_EQ(std::tuple(m.Original(), m.Copyrighted(), m.Emphasis()),
            std::tuple(true, false, "None"));
}

} // namespace
} // namespace id3
