// id3v1 end to end, in-process: real files, the real tag store and scan.
#include "run_cli.h"
#include "tagstore/tag.h"
#include "version.h"

#include "sample_tag.h"
#include "testfs.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <filesystem>

namespace id3::cli {
namespace {

namespace fs = std::filesystem;
using test::Bytes;

// 100 frames of MPEG-1 Layer III, 128 kbit/s, 44100 Hz, stereo, no padding.
Bytes Cbr128Frames() {
  Bytes frame(417, 0);
  frame[0] = 0xFF;
  frame[1] = 0xFB;
  frame[2] = 0x90;
  frame[3] = 0x00;
  Bytes out;
  for (int i = 0; i < 100; ++i) out.insert(out.end(), frame.begin(), frame.end());
  return out;
}

Bytes TagBytes(const TagFields& f) { return test::RecordBytes(f); }

TagFields Sample() {
  TagFields f = test::SampleTag();
  f.track = 4;
  return f;
}

using CliTest = test::ScratchTest;

TEST_F(CliTest, ShowTextHasTheWindowsCaptionsAndValues) {
  const std::string path = Make("a.mp3", test::Concat({Cbr128Frames(), TagBytes(Sample())}));
  const Outcome r = Cli({"show", path});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, path + "\n"
                          "Title: Title\n"
                          "Artist: Artist\n"
                          "Album: Album\n"
                          "Year: 2001\n"
                          "Note: Comment\n"
                          "Track: 4\n"
                          "Genre: Pop\n"
                          "Bitrate: 128\n"
                          "Emphasis: None\n"
                          "Duration: 0:03\n"
                          "Frequency: 44100\n"
                          "Layer: 3\n"
                          "File size: 40.85 KB\n"
                          "Mode: Stereo\n"
                          "Mpeg version: 1\n");
}

TEST_F(CliTest, ShowJsonHasExactlyTheDocumentedKeys) {
  const std::string tagged = Make("a.mp3", test::Concat({Cbr128Frames(), TagBytes(Sample())}));
  const std::string untagged = Make("b.MP3", test::Repeat(0, 200));
  const std::string missing = dir.File("c.mp3");
  const Outcome r = Cli({"show", "--json", tagged, untagged, missing});
  EXPECT_EQ(r.status, 1);
  std::istringstream lines(r.out);
  std::string line;
  std::vector<nlohmann::json> objects;
  while (std::getline(lines, line)) objects.push_back(nlohmann::json::parse(line));
  ASSERT_EQ(objects.size(), 3u);

  const auto& a = objects[0];
  EXPECT_EQ(a["file"], tagged);
  EXPECT_EQ(a["tag"], nlohmann::json::parse(R"({"title":"Title","artist":"Artist","album":"Album",
      "year":"2001","comment":"Comment","track":4,"genre":"Pop","genre_number":13})"));
  EXPECT_EQ(a["audio"], nlohmann::json::parse(R"({"valid":true,"bitrate_kbps":128,"vbr":false,
      "frequency_hz":44100,"duration_s":3,"frames":100,"mpeg_version":1,"layer":3,
      "channel_mode":"Stereo","emphasis":"None","protected":false,"copyrighted":false,
      "original":false,"header_position":5})"));
  EXPECT_EQ(a["file_size"], 41828);
  EXPECT_TRUE(a["error"].is_null());
  EXPECT_EQ(a.size(), 5u);

  const auto& b = objects[1];
  EXPECT_TRUE(b["tag"].is_null());
  EXPECT_EQ(b["audio"], nlohmann::json::parse(R"({"valid":false})"));
  EXPECT_EQ(b["file_size"], 200);

  const auto& c = objects[2];
  EXPECT_TRUE(c["tag"].is_null());
  EXPECT_TRUE(c["audio"].is_null());
  EXPECT_EQ(c["error"], "no such file");
  EXPECT_EQ(r.err, "id3v1: " + missing + ": no such file\n");
}

TEST_F(CliTest, SetChangesOnlyTheNamedFieldsAndKeepsTrackAndGenreByte) {
  TagFields old = Sample();
  old.genre = "";
  old.genre_byte = 200;
  const Bytes audio = Cbr128Frames();
  const std::string path = Make("a.mp3", test::Concat({audio, TagBytes(old)}));
  Outcome r = Cli({"set", "--title", "New title", "--year", "1999", path});
  ASSERT_EQ(r.status, 0) << r.err;
  TagFields now = ReadTag(path, CodePage::Windows1252());
  EXPECT_EQ(now.title, "New title");
  EXPECT_EQ(now.year, "1999");
  EXPECT_EQ(now.artist, "Artist");
  EXPECT_EQ(now.track, 4);
  EXPECT_EQ(now.genre_byte, 200);

  r = Cli({"set", "--genre", "rock & roll", "--track", "0", path});
  ASSERT_EQ(r.status, 0) << r.err;
  now = ReadTag(path, CodePage::Windows1252());
  EXPECT_EQ(now.genre, "Rock & Roll");
  EXPECT_EQ(now.track, std::nullopt);

  r = Cli({"set", "--genre", "255", path});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(ReadTag(path, CodePage::Windows1252()).genre_byte, 255);
  const Bytes on_disk = test::ReadAll(path);
  EXPECT_EQ(Bytes(on_disk.begin(), on_disk.begin() + static_cast<std::ptrdiff_t>(audio.size())),
            audio);
}

TEST_F(CliTest, SetGivesAnUntaggedFileATagAndWarnsWhenCutting) {
  const Bytes audio = Cbr128Frames();
  const std::string path = Make("a.mp3", audio);
  const std::string long_title(35, 't');
  const Outcome r = Cli({"set", "--title", long_title, "--artist", "Björk", path});
  ASSERT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "id3v1: warning: title is longer than 30 bytes; cut to \"" +
                       std::string(30, 't') + "\"\n");
  const TagFields now = ReadTag(path, CodePage::Windows1252());
  EXPECT_EQ(now.title, std::string(30, 't'));
  EXPECT_EQ(now.artist, "Björk");
  EXPECT_EQ(now.genre, "");
  EXPECT_EQ(test::ReadAll(path).size(), audio.size() + 128);
}

TEST_F(CliTest, EachFileOnItsOwn) {
  const Bytes audio = Cbr128Frames();
  const std::string good = Make("good.mp3", test::Concat({audio, TagBytes(Sample())}));
  const std::string missing = dir.File("missing.mp3");
  const std::string folder = dir.File("folder.mp3");
  fs::create_directory(test::FromU8(folder));
  const Bytes short_content = test::Repeat(7, 100);
  const std::string tiny = Make("tiny.mp3", short_content);
  const std::string wrong_name = Make("notes.txt", audio);

  Outcome r = Cli({"remove", missing, folder, good, tiny, wrong_name});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(test::ReadAll(good), audio);
  EXPECT_EQ(test::ReadAll(tiny), short_content);
  EXPECT_EQ(test::ReadAll(wrong_name), audio);
  EXPECT_EQ(r.err, "id3v1: " + missing + ": no such file\n" + "id3v1: " + folder +
                       ": is a directory\n" + "id3v1: " + tiny + ": shorter than 128 bytes\n" +
                       "id3v1: " + wrong_name + ": not an .mp3 name\n");

  r = Cli({"set", "--any-name", "--title", "x", wrong_name, tiny});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(ReadTag(wrong_name, CodePage::Windows1252()).title, "x");
  EXPECT_EQ(test::ReadAll(tiny), short_content);
}

TEST_F(CliTest, UsageErrors) {
  const std::string path = Make("a.mp3", Cbr128Frames());
  const Bytes before = test::ReadAll(path);
  for (const auto& args : std::vector<std::vector<std::string>>{
           {},
           {"frobnicate"},
           {"show"},
           {"show", "--bogus", path},
           {"set", "--track", "256", path},
           {"set", "--genre", "Polka Metal", path},
           {"set", "--genre", "300", path},
           {"set", "--codepage", "no-such", "--title", "x", path},
       }) {
    const Outcome r = Cli(args);
    EXPECT_EQ(r.status, 2) << testing::PrintToString(args);
    EXPECT_FALSE(r.err.empty()) << testing::PrintToString(args);
  }
  EXPECT_EQ(test::ReadAll(path), before);
}

TEST_F(CliTest, VersionHelpGenresAndCodePages) {
  Outcome r = Cli({"--version"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "id3v1 " ID3_VERSION_TEXT "\n");
  r = Cli({"--help"});
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("show"), std::string::npos);
  r = Cli({"genres"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 126);
  EXPECT_TRUE(r.out.starts_with("0\tBlues\n1\tClassic Rock\n"));
  EXPECT_TRUE(r.out.ends_with("125\tDance Hall\n"));

  const std::string path = Make("a.mp3", Cbr128Frames());
  r = Cli({"set", "--codepage", "1251", "--artist", "Жанна", path});
  ASSERT_EQ(r.status, 0) << r.err;
  const Bytes on_disk = test::ReadAll(path);
  EXPECT_EQ(on_disk[on_disk.size() - 128 + record::kArtistOffset], 0xC6);
  r = Cli({"--codepage", "1251", "show", "--json", path});
  EXPECT_EQ(nlohmann::json::parse(r.out)["tag"]["artist"], "Жанна");
}

} // namespace
} // namespace id3::cli
