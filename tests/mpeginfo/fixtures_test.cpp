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
#include <sstream>

namespace id3 {
namespace {

struct Reference {
  std::string file;
  int frequency = 0;
  double duration = 0;
  int channels = 0;
  std::string codec; // "mp3" or "mp2"
  std::string block; // "xing", "info" or "none"
};

std::vector<Reference> ReadReferences() {
  std::ifstream in(test::FromU8(test::DataFile("mpeginfo/reference.tsv")));
  std::vector<Reference> rows;
  std::string line;
  std::getline(in, line); // column names
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    Reference r;
    fields >> r.file >> r.frequency >> r.duration >> r.channels >> r.codec >> r.block;
    if (fields) rows.push_back(r);
  }
  return rows;
}

TEST(Fixtures, AgreeWithFfprobe) {
  const auto refs = ReadReferences();
  ASSERT_GE(refs.size(), 16u);
  for (const Reference& r : refs) {
    SCOPED_TRACE(r.file);
    clsMP3Info m;
    ASSERT_TRUE(m.LoadMP3(test::DataFile("mpeginfo/" + r.file)));
    EXPECT_EQ(m.Frequency(), r.frequency);
    if (r.block == "none") {
      EXPECT_NEAR(m.DurationSeconds(), r.duration, 1.0);
    } else {
      EXPECT_NEAR(m.DurationSeconds(), r.duration, r.duration * 0.001);
    }
    EXPECT_EQ(m.SongLength(), std::lround(r.duration));
    EXPECT_EQ(m.isVBR(), r.block == "xing");
    EXPECT_EQ(m.Layers(), r.codec == "mp2" ? 2 : 3);
    EXPECT_EQ(m.ChannelMode() == "Single channel", r.channels == 1);
    EXPECT_GT(m.BitRate(), 0);
  }
}

TEST(Fixtures, ConstantBitRateKeepsTheHeadersRate) {
  for (const char* file :
       {"cbr128.mp3", "cbr128-noheader.mp3", "cbr-crc.mp3", "cbr-cover-v2.mp3"}) {
    clsMP3Info m;
    ASSERT_TRUE(m.LoadMP3(test::DataFile(std::string("mpeginfo/") + file))) << file;
    EXPECT_EQ(m.BitRate(), 128) << file;
    EXPECT_EQ(m.NumFrames(), 116) << file;
  }
}

TEST(Fixtures, CrcAndCover) {
  clsMP3Info m;
  ASSERT_TRUE(m.LoadMP3(test::DataFile("mpeginfo/vbr-crc.mp3")));
  EXPECT_TRUE(m.Protected());
  EXPECT_EQ(m.NumFrames(), 116);
  // lame puts a 12,132-byte ID3v2 tag with the picture in front of the audio.
  ASSERT_TRUE(m.LoadMP3(test::DataFile("mpeginfo/vbr-cover-v1v2.mp3")));
  EXPECT_EQ(m.HeaderPos(), 12142 + 1 + 4);
  EXPECT_EQ(m.SongLength(), 3);
  EXPECT_EQ(m.BitRate(), 144);
}

// Other projects' files, with what their own tests assert (see ATTRIBUTION).
struct Public {
  const char* file;
  bool loads;
  float version;
  int layer;
  int frequency;
  int bit_rate;
  int frames;
  double duration;
  const char* mode;
  bool vbr;
  bool crc;
  std::int64_t header_pos;
};

TEST(PublicSamples, HeaderFactsAndDurations) {
  const Public cases[] = {
      // Layer I, 224 kbit/s: 11 frames of 384 samples, 0.0958 s.
      {"tinytag-mpeg1_44_1khz.mp1", true, 1, 1, 44100, 224, 11, 0.09578, "Stereo", false, false, 5},
      // Layer II, 384 kbit/s: 5 frames, 0.12 s.
      {"tinytag-mpeg1_48khz.mp2", true, 1, 2, 48000, 384, 5, 0.12, "Stereo", false, false, 5},
      // MPEG-2 Layer II, 160 kbit/s: 3 frames, 0.144 s.
      {"tinytag-mpeg2_24khz.mp2", true, 2, 2, 24000, 160, 3, 0.144, "Stereo", false, false, 5},
      // MPEG-2.5 with a Xing block of 4 frames: 0.288 s. (tinytag reports 8
      // kbit/s; the average over the block's 576 bytes is 16.)
      {"tinytag-mpeg25_8khz_vbr.mp3", true, 2.5f, 3, 8000, 16, 4, 0.288, "Joint stereo", true,
       false, 5},
      // Layer I with CRC, 384 kbit/s, 32 kHz: 49 frames, 0.588 s.
      {"lofty-rs-full_test.mp1", true, 1, 1, 32000, 384, 49, 0.588, "Stereo", false, true, 5},
      // MPEG-2.5 mono, 8 kbit/s, no block: 40,176 bytes are 40.18 s.
      {"music-metadata-issue-347.mp3", true, 2.5f, 3, 8000, 8, 558, 40.176, "Single channel", false,
       false, 5},
      // ID3v2.3 + Xing (6 frames) + ID3v1; the first frame at 0x44B = 1099.
      // (mp3agic's average of 125 kbit/s leaves the Xing frame out; the
      // block's byte count holds it.)
      {"mp3agic-v1andv23tags.mp3", true, 1, 3, 44100, 146, 6, 0.156735, "Joint stereo", true, false,
       1104},
      // The same with false syncs inside the ID3v2 tag, right before the frame
      // and in the ID3v1 title.
      {"mp3agic-dummyframes.mp3", true, 1, 3, 44100, 146, 6, 0.156735, "Joint stereo", true, false,
       1104},
      // One byte short of the last frame: the Xing count still says 6.
      {"mp3agic-incompletempegframe.mp3", true, 1, 3, 44100, 146, 6, 0.156735, "Joint stereo", true,
       false, 1104},
      // 128 bytes of 0x55 and an ID3v1 tag: no audio.
      {"tinytag-id3v1-latin1.mp3", false, 0, 0, 0, 0, 0, 0, "", false, false, 0},
  };
  for (const Public& c : cases) {
    SCOPED_TRACE(c.file);
    clsMP3Info m;
    ASSERT_EQ(m.LoadMP3(test::DataFile(std::string("mpeginfo/public/") + c.file)), c.loads);
    EXPECT_EQ(m.MPEGVer(), c.version);
    EXPECT_EQ(m.Layers(), c.layer);
    EXPECT_EQ(m.Frequency(), c.frequency);
    EXPECT_EQ(m.BitRate(), c.bit_rate);
    EXPECT_EQ(m.NumFrames(), c.frames);
    EXPECT_NEAR(m.DurationSeconds(), c.duration, 0.0005);
    EXPECT_EQ(m.ChannelMode(), c.mode);
    EXPECT_EQ(m.isVBR(), c.vbr);
    EXPECT_EQ(m.Protected(), c.crc);
    EXPECT_EQ(m.HeaderPos(), c.header_pos);
  }
  clsMP3Info m;
  ASSERT_TRUE(m.LoadMP3(test::DataFile("mpeginfo/public/mp3agic-v1andv23tags.mp3")));
  EXPECT_TRUE(m.Original());
  EXPECT_FALSE(m.Copyrighted());
  EXPECT_EQ(m.Emphasis(), "None");
}

} // namespace
} // namespace id3
