// Odd and hostile files through the command-line tool: each gives a clear
// result or a clear error, and nothing is changed unless the command succeeds.
#include "run_cli.h"

#include "testfs.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <filesystem>

namespace id3::cli {
namespace {

namespace fs = std::filesystem;
using test::Bytes;

nlohmann::json ShowJson(const std::string& path) {
  const Outcome r = Cli({"show", "--json", "--any-name", path});
  return nlohmann::json::parse(r.out);
}

constexpr std::uint8_t kHeader[] = {0xFF, 0xFB, 0x90, 0x00}; // MPEG-1 Layer III 128k 44.1k
constexpr std::size_t kFrameLength = 417;

Bytes Frames(int n) {
  Bytes out;
  for (int i = 0; i < n; ++i) {
    Bytes frame(kFrameLength, 0);
    std::copy(std::begin(kHeader), std::end(kHeader), frame.begin());
    out.insert(out.end(), frame.begin(), frame.end());
  }
  return out;
}

// A stream whose first frame carries a VBR block at the given offset.
Bytes WithBlock(std::string_view id, std::size_t at, const Bytes& body) {
  Bytes s = Frames(8);
  std::copy(id.begin(), id.end(), s.begin() + static_cast<std::ptrdiff_t>(at));
  std::copy(body.begin(), body.end(), s.begin() + static_cast<std::ptrdiff_t>(at + id.size()));
  return s;
}

using BadInput = test::ScratchTest;

TEST_F(BadInput, TinyFiles) {
  for (std::size_t n : {0u, 1u, 3u, 4u, 5u, 17u, 18u, 127u, 128u, 129u}) {
    Bytes content = Frames(1);
    content.resize(n);
    const std::string path = Make("tiny" + std::to_string(n) + ".mp3", content);
    const auto shown = ShowJson(path);
    // Too short for a tag, but a file all the same: no tag, no error.
    EXPECT_TRUE(shown["error"].is_null()) << n;
    EXPECT_EQ(shown["file_size"], n);
    if (n < 128) {
      EXPECT_TRUE(shown["tag"].is_null()) << n;
    }

    const Outcome set = Cli({"set", "--title", "x", path});
    EXPECT_EQ(set.status, n >= 128 ? 0 : 1) << n;
    if (n < 128) {
      EXPECT_EQ(set.err, "id3v1: " + path + ": shorter than 128 bytes\n");
      EXPECT_EQ(test::ReadAll(path), content) << n;
    } else {
      EXPECT_EQ(test::ReadAll(path).size(), n + 128) << n;
    }
  }
}

TEST_F(BadInput, AwkwardNames) {
  const Bytes audio = Frames(4);
  for (std::string_view name :
       {"with  blanks .mp3", "ünïcødé 曲.mp3", "-register.mp3", "pre-registered -unregister.MP3"}) {
    const std::string path = Make(name, audio);
    const Outcome r = Cli({"set", "--artist", "Name", "--", path});
    EXPECT_EQ(r.status, 0) << name << r.err;
    EXPECT_EQ(ShowJson(path)["tag"]["artist"], "Name") << name;
    EXPECT_EQ(Cli({"remove", "--", path}).status, 0) << name;
    EXPECT_EQ(test::ReadAll(path), audio) << name;
  }
  const std::string folder = dir.File("folder.mp3");
  fs::create_directory(test::FromU8(folder));
  EXPECT_EQ(ShowJson(folder)["error"], "is a directory");
  EXPECT_EQ(Cli({"set", "--title", "x", folder}).status, 1);
  EXPECT_TRUE(fs::is_empty(test::FromU8(folder)));
}

TEST_F(BadInput, LargerThan4GiB) {
  const std::string path = Make("huge.mp3", Frames(2));
  const std::uint64_t size = (1ull << 32) + 1000;
  fs::resize_file(test::FromU8(path), size);
  EXPECT_EQ(ShowJson(path)["file_size"], size);
  ASSERT_EQ(Cli({"set", "--title", "Big", path}).status, 0);
  EXPECT_EQ(fs::file_size(test::FromU8(path)), size + 128);
  EXPECT_EQ(ShowJson(path)["tag"]["title"], "Big");
  ASSERT_EQ(Cli({"remove", path}).status, 0);
  EXPECT_EQ(fs::file_size(test::FromU8(path)), size);
}

TEST_F(BadInput, TagOverJunk) {
  Bytes junk(3000);
  for (std::size_t i = 0; i < junk.size(); ++i) junk[i] = static_cast<std::uint8_t>(i * 37 % 251);
  Bytes tag(128, ' ');
  std::copy_n("TAGJunk", 7, tag.begin());
  const std::string path = Make("junk.mp3", test::Concat({junk, tag}));
  const auto shown = ShowJson(path);
  EXPECT_EQ(shown["tag"]["title"], "Junk");
  EXPECT_EQ(shown["audio"]["valid"], false);
}

TEST_F(BadInput, Id3v2SizeRunningPastTheEnd) {
  // A tag header claiming 2 MB in a file of a few KB.
  Bytes head = {'I', 'D', '3', 3, 0, 0, 0x00, 0x7F, 0x7F, 0x7F};
  const std::string path = Make("v2.mp3", test::Concat({head, Frames(6)}));
  const auto shown = ShowJson(path);
  EXPECT_TRUE(shown["error"].is_null());
  EXPECT_EQ(shown["audio"]["valid"], false);
}

TEST_F(BadInput, VbrBlocksWithImpossibleFrameCounts) {
  const Bytes xing_flags = {0, 0, 0, 1};
  const Bytes zero = test::Concat({xing_flags, {0, 0, 0, 0}});
  const Bytes all = test::Concat({xing_flags, {0xFF, 0xFF, 0xFF, 0xFF}});
  // Side information of an MPEG-1 stereo frame is 32 bytes: the block starts 36
  // bytes into the frame.
  for (const auto& [name, content] : std::vector<std::pair<std::string, Bytes>>{
           {"xing0.mp3", WithBlock("Xing", 36, zero)},
           {"xingmax.mp3", WithBlock("Xing", 36, all)},
           {"vbri0.mp3", WithBlock("VBRI", 36, Bytes(22, 0))},
       }) {
    const std::string path = Make(name, content);
    const auto shown = ShowJson(path);
    EXPECT_TRUE(shown["error"].is_null()) << name;
    EXPECT_EQ(shown["audio"]["valid"], false) << name << shown.dump();
    EXPECT_EQ(test::ReadAll(path), content) << name;
  }
}

} // namespace
} // namespace id3::cli
