// Real encoder output and other projects' test files.
//
// The encoder fixtures come from tests/data/mpeginfo/make-fixtures, with what
// ffprobe read from each at generation time in reference.tsv. Durations of
// files with a frame count must agree with ffprobe's to 0.1 %, the others' to
// 1 s.
#include "mpeginfo/mp3info.h"

#include "testfs.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

namespace id3 {
namespace {

TEST(Fixtures, AgreeWithFfprobe) {
  std::ifstream in(test::FromU8(test::DataFile("mpeginfo/reference.tsv")));
  std::string line, file, codec, block; // block: "xing", "info" or "none"
  int rows = 0, frequency = 0, channels = 0;
  double duration = 0;
  std::getline(in, line); // column names
  while (in >> file >> frequency >> duration >> channels >> codec >> block) {
    SCOPED_TRACE(file);
    ++rows;
    clsMP3Info m;
    ASSERT_TRUE(m.LoadMP3(test::DataFile("mpeginfo/" + file)));
    EXPECT_EQ(m.Frequency(), frequency);
    EXPECT_NEAR(m.DurationSeconds(), duration, block == "none" ? 1.0 : duration * 0.001);
    EXPECT_EQ(m.SongLength(), std::lround(duration));
    EXPECT_EQ(m.isVBR(), block == "xing");
    EXPECT_EQ(m.Layers(), codec == "mp2" ? 2 : 3);
    EXPECT_EQ(m.ChannelMode() == "Single channel", channels == 1);
    EXPECT_GT(m.BitRate(), 0);
  }
  EXPECT_GE(rows, 16);
}

TEST(Fixtures, ConstantBitRateCrcAndCover) {
  for (const char* file :
       {"cbr128.mp3", "cbr128-noheader.mp3", "cbr-crc.mp3", "cbr-cover-v2.mp3"}) {
    clsMP3Info m;
    ASSERT_TRUE(m.LoadMP3(test::DataFile(std::string("mpeginfo/") + file))) << file;
    EXPECT_EQ(std::pair(m.BitRate(), m.NumFrames()), std::pair(128, 116)) << file;
  }
  clsMP3Info m;
  ASSERT_TRUE(m.LoadMP3(test::DataFile("mpeginfo/vbr-crc.mp3")));
  EXPECT_TRUE(m.Protected());
  EXPECT_EQ(m.NumFrames(), 116);
  // lame puts a 12,132-byte ID3v2 tag with the picture in front of the audio.
  ASSERT_TRUE(m.LoadMP3(test::DataFile("mpeginfo/vbr-cover-v1v2.mp3")));
  EXPECT_EQ(std::tuple(m.HeaderPos(), m.SongLength(), m.BitRate()),
            std::tuple(12142 + 1 + 4, 3, 144));
}

// The same lame file with the frame count taken out of its Xing block
// (make-fixtures): the frames are counted instead, to the same facts.
TEST(Fixtures, XingWithoutAFrameCountHasItsFramesCounted) {
  clsMP3Info with, without;
  ASSERT_TRUE(with.LoadMP3(test::DataFile("mpeginfo/vbr-v2.mp3")));
  ASSERT_TRUE(without.LoadMP3(test::DataFile("mpeginfo/vbr-v2-nocount.mp3")));
  EXPECT_EQ(std::tuple(without.NumFrames(), without.BitRate(), without.SongLength(),
                       without.DurationSeconds(), without.isVBR()),
            std::tuple(with.NumFrames(), with.BitRate(), with.SongLength(), with.DurationSeconds(),
                       true));
  EXPECT_EQ(without.NumFrames(), 116);
}

// Other projects' files, with what their own tests assert (see ATTRIBUTION).
TEST(PublicSamples, HeaderFactsAndDurations) {
  const struct {
    const char* file;
    bool loads;
    float version;
    int layer, frequency, bit_rate, frames;
    double duration;
    const char* mode;
    bool vbr, crc;
    std::int64_t header_pos;
  } cases[] = {
      {"tinytag-mpeg1_44_1khz.mp1", true, 1, 1, 44100, 224, 11, 0.09578, "Stereo", false, false, 5},
      {"tinytag-mpeg1_48khz.mp2", true, 1, 2, 48000, 384, 5, 0.12, "Stereo", false, false, 5},
      {"tinytag-mpeg2_24khz.mp2", true, 2, 2, 24000, 160, 3, 0.144, "Stereo", false, false, 5},
      // tinytag reports 8 kbit/s; the average over the block's 576 bytes is 16.
      {"tinytag-mpeg25_8khz_vbr.mp3", true, 2.5f, 3, 8000, 16, 4, 0.288, "Joint stereo", true,
       false, 5},
      {"lofty-rs-full_test.mp1", true, 1, 1, 32000, 384, 49, 0.588, "Stereo", false, true, 5},
      {"music-metadata-issue-347.mp3", true, 2.5f, 3, 8000, 8, 558, 40.176, "Single channel", false,
       false, 5},
      // ID3v2.3, Xing and ID3v1; false syncs inside the ID3v2 tag, before the
      // frame and in the ID3v1 title; the last frame one byte short. (mp3agic's
      // average of 125 kbit/s leaves the Xing frame out; the block's byte
      // count holds it.)
      {"mp3agic-v1andv23tags.mp3", true, 1, 3, 44100, 146, 6, 0.156735, "Joint stereo", true, false,
       1104},
      {"mp3agic-dummyframes.mp3", true, 1, 3, 44100, 146, 6, 0.156735, "Joint stereo", true, false,
       1104},
      {"mp3agic-incompletempegframe.mp3", true, 1, 3, 44100, 146, 6, 0.156735, "Joint stereo", true,
       false, 1104},
      {"tinytag-id3v1-latin1.mp3", false, 0, 0, 0, 0, 0, 0, "", false, false, 0}, // no audio
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    clsMP3Info m;
    ASSERT_EQ(m.LoadMP3(test::DataFile(std::string("mpeginfo/public/") + c.file)), c.loads);
    EXPECT_EQ(std::tuple(m.MPEGVer(), m.Layers(), m.Frequency(), m.BitRate(), m.NumFrames()),
              std::tuple(c.version, c.layer, c.frequency, c.bit_rate, c.frames));
    EXPECT_NEAR(m.DurationSeconds(), c.duration, 0.0005);
    EXPECT_EQ(std::tuple(m.ChannelMode(), m.isVBR(), m.Protected(), m.HeaderPos()),
              std::tuple(c.mode, c.vbr, c.crc, c.header_pos));
  }
  clsMP3Info m;
  ASSERT_TRUE(m.LoadMP3(test::DataFile("mpeginfo/public/mp3agic-v1andv23tags.mp3")));
  EXPECT_EQ(std::tuple(m.Original(), m.Copyrighted(), m.Emphasis()),
            std::tuple(true, false, "None"));
}

} // namespace
} // namespace id3
