// Reading, writing and removing the tag of real files over the platform's file
// layer, with every file operation made to fail in turn. The same cases run
// natively and under Wine.
#include "tagstore/tag.h"
#include "tools/fileio.h"

#include "sample_tag.h"
#include "tag_changes.h"
#include "testfs.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace id3 {
namespace {

namespace fs = std::filesystem;
using test::Bytes;
using test::RecordBytes;

const CodePage kCp = CodePage::Windows1252();
const TagFields kSample = test::SampleTag();

using TagFile = test::ScratchTest;

TEST_F(TagFile, RefusedOperationsLeaveTheFileAsItWas) {
  const auto refused = [&](const std::string& path, TagError error) {
    EXPECT_EQ(TryReadRecord(path).error(), error) << path;
    EXPECT_EQ(test::WriteTagOf(path, kSample), std::unexpected(error)) << path;
    EXPECT_EQ(TryRemoveTag(path), std::unexpected(error)) << path;
  };
  // Shortened below a record, by another program after loading.
  const Bytes tagged = test::Concat({test::Repeat(0x5A, 1000), RecordBytes(kSample)});
  for (std::size_t n : {0u, 1u, 3u, 127u}) {
    const std::string path = Make("short" + std::to_string(n) + ".mp3", tagged);
    fs::resize_file(test::FromU8(path), n);
    refused(path, TagError::TooShort);
    EXPECT_EQ(test::ReadAll(path), Bytes(tagged.begin(), tagged.begin() + n));
  }
  const std::string missing = dir.File("missing.mp3"), folder = dir.File("folder.mp3");
  refused(missing, TagError::NotFound);
  EXPECT_FALSE(fs::exists(test::FromU8(missing)) || FileExists(missing) || FileExists(""));
  fs::create_directory(test::FromU8(folder));
  refused(folder, TagError::IsDirectory);
  EXPECT_TRUE(fs::is_empty(test::FromU8(folder)) && !FileExists(folder));

  // Nothing but a tag: it is read and written, but not removed.
  const std::string only = Make("only.mp3", RecordBytes(kSample));
  EXPECT_EQ(test::TagOf(only, kCp).title, kSample.title);
  EXPECT_EQ(TryRemoveTag(only), std::unexpected(TagError::OnlyTag));
  TagFields other = kSample;
  other.artist = "Someone";
  ASSERT_TRUE(test::WriteTagOf(only, other));
  EXPECT_EQ(test::ReadAll(only), RecordBytes(other));
  fs::permissions(test::FromU8(only), fs::perms::owner_read, fs::perm_options::replace);
  EXPECT_TRUE(FileExists(only)); // read-only files count
  fs::permissions(test::FromU8(only), fs::perms::owner_all, fs::perm_options::replace);
}

// Offsets past 2 and 4 GiB, on sparse files.
TEST_F(TagFile, LargeFiles) {
  for (std::uint64_t size : {(1ull << 31) + 5, (1ull << 32) + 100}) {
    const std::string path = Make("large.mp3", {});
    fs::resize_file(test::FromU8(path), size);
    ASSERT_TRUE(test::WriteTagOf(path, kSample)) << size;
    EXPECT_EQ(fs::file_size(test::FromU8(path)), size + 128);
    EXPECT_EQ(test::TagOf(path, kCp).title, kSample.title);
    ASSERT_TRUE(TryRemoveTag(path));
    EXPECT_EQ(fs::file_size(test::FromU8(path)), size);
  }
}

int g_calls = 0, g_fail_at = 0;
io::IoError g_error = io::IoError::Other;

std::optional<io::IoError> FailOne(io::Operation) {
  return ++g_calls == g_fail_at ? std::optional(g_error) : std::nullopt;
}

// Each file operation failing in turn, with three kinds of error, on a name
// the code page cannot hold: files are opened by their Unicode names.
TEST_F(TagFile, EveryOperationFailingInTurn) {
  const auto failing = [](const auto& change, int at) {
    g_calls = 0;
    g_fail_at = at;
    const bool ok = change();
    return test::Interrupted{g_calls >= at, ok};
  };
  io::SetFaultHook(&FailOne);
  for (auto error : {io::IoError::Other, io::IoError::NoSpace, io::IoError::AccessDenied}) {
    g_error = error;
    test::InterruptEachOperation(dir.File("Ünïcødé ☃ 曲.mp3"), test::Repeat(0x5A, 4000), failing);
  }
  io::SetFaultHook(nullptr);
}

} // namespace
} // namespace id3
