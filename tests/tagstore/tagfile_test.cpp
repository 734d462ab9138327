// Reading, writing and removing the tag of real files, over the platform's
// file layer. The same cases run natively and under Wine.
#include "tagstore/tag.h"

#include "sample_tag.h"
#include "testfs.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace id3 {
namespace {

namespace fs = std::filesystem;
using test::Bytes;

const CodePage kCp = CodePage::Windows1252();

Bytes Audio(std::size_t n) {
  Bytes b(n);
  for (std::size_t i = 0; i < n; ++i) b[i] = static_cast<std::uint8_t>(i * 7 + 3);
  return b;
}

TagFields Sample() { return test::SampleTag(); }

using TagFile = test::ScratchTest;

TEST_F(TagFile, WriteAppendsToAnUntaggedFileThenReplacesInPlace) {
  const Bytes audio = Audio(1000);
  const std::string path = Make("song.mp3", audio);
  EXPECT_EQ(ReadTag(path, kCp), TagFields{});

  ASSERT_TRUE(WriteTag(path, Sample(), kCp));
  Bytes on_disk = test::ReadAll(path);
  ASSERT_EQ(on_disk.size(), 1128u);
  EXPECT_EQ(Bytes(on_disk.begin(), on_disk.begin() + 1000), audio);
  EXPECT_EQ(Bytes(on_disk.begin() + 1000, on_disk.end()), test::RecordBytes(Sample()));

  TagFields changed = Sample();
  changed.title = "Other";
  ASSERT_TRUE(WriteTag(path, changed, kCp));
  on_disk = test::ReadAll(path);
  ASSERT_EQ(on_disk.size(), 1128u);
  EXPECT_EQ(Bytes(on_disk.begin(), on_disk.begin() + 1000), audio);
  const TagFields back = ReadTag(path, kCp);
  EXPECT_EQ(back.title, "Other");
  EXPECT_EQ(back.genre, "Pop");
  EXPECT_EQ(back.marker, "TAG");
}

TEST_F(TagFile, LowerCaseMarkerIsATagAndIsReplaced) {
  TagFields old = Sample();
  old.marker = "tag";
  const std::string path = Make("lower.mp3", test::Concat({Audio(300), test::RecordBytes(old)}));
  EXPECT_EQ(ReadTag(path, kCp).marker, "tag");
  ASSERT_TRUE(WriteTag(path, Sample(), kCp));
  const Bytes on_disk = test::ReadAll(path);
  ASSERT_EQ(on_disk.size(), 428u);
  EXPECT_EQ(on_disk[300], 'T');
}

TEST_F(TagFile, TrackAndUnnamedGenreSurviveASave) {
  TagFields old = Sample();
  old.track = 9;
  old.genre = "";
  old.genre_byte = 255;
  const std::string path = Make("v11.mp3", test::Concat({Audio(500), test::RecordBytes(old)}));
  TagFields edited = ReadTag(path, kCp);
  EXPECT_EQ(edited.track, 9);
  EXPECT_EQ(edited.genre, "");
  edited.title = "New title";
  ASSERT_TRUE(WriteTag(path, edited, kCp));
  const TagFields back = ReadTag(path, kCp);
  EXPECT_EQ(back.title, "New title");
  EXPECT_EQ(back.track, 9);
  EXPECT_EQ(back.genre_byte, 255);
}

TEST_F(TagFile, RemoveCutsExactlyTheTag) {
  const Bytes audio = Audio(777);
  const std::string path = Make("tagged.mp3", test::Concat({audio, test::RecordBytes(Sample())}));
  ASSERT_TRUE(RemoveTag(path));
  EXPECT_EQ(test::ReadAll(path), audio);
  // No tag any more: true again, and nothing changes.
  ASSERT_TRUE(RemoveTag(path));
  EXPECT_EQ(test::ReadAll(path), audio);
}

TEST_F(TagFile, FilesShorterThanARecordAreLeftAlone) {
  for (std::size_t n : {0u, 1u, 3u, 127u}) {
    const Bytes content = Audio(n);
    const std::string path = Make("short" + std::to_string(n) + ".mp3", content);
    EXPECT_EQ(ReadTag(path, kCp), TagFields{}) << n;
    EXPECT_EQ(TryWriteTag(path, Sample(), kCp).error(), TagError::TooShort) << n;
    EXPECT_FALSE(RemoveTag(path)) << n;
    EXPECT_EQ(test::ReadAll(path), content) << n;
  }
}

TEST_F(TagFile, AFileThatIsOnlyATag) {
  const Bytes only = test::RecordBytes(Sample());
  const std::string path = Make("only.mp3", only);
  EXPECT_EQ(ReadTag(path, kCp).title, "Title");
  EXPECT_EQ(TryRemoveTag(path).error(), TagError::OnlyTag);
  EXPECT_EQ(test::ReadAll(path), only);
  TagFields other = Sample();
  other.artist = "Someone";
  ASSERT_TRUE(WriteTag(path, other, kCp));
  EXPECT_EQ(test::ReadAll(path), test::RecordBytes(other));
}

TEST_F(TagFile, MissingFilesAndFolders) {
  const std::string missing = dir.File("missing.mp3");
  EXPECT_EQ(ReadTag(missing, kCp), TagFields{});
  EXPECT_EQ(TryWriteTag(missing, Sample(), kCp).error(), TagError::NotFound);
  EXPECT_EQ(TryRemoveTag(missing).error(), TagError::NotFound);
  EXPECT_FALSE(fs::exists(test::FromU8(missing)));

  const std::string folder = dir.File("folder.mp3");
  fs::create_directory(test::FromU8(folder));
  EXPECT_EQ(ReadTag(folder, kCp), TagFields{});
  EXPECT_EQ(TryWriteTag(folder, Sample(), kCp).error(), TagError::IsDirectory);
  EXPECT_EQ(TryRemoveTag(folder).error(), TagError::IsDirectory);
  EXPECT_TRUE(fs::is_directory(test::FromU8(folder)));
  EXPECT_TRUE(fs::is_empty(test::FromU8(folder)));
}

TEST_F(TagFile, ExistenceTests) {
  const std::string file = Make("here.mp3", Audio(10));
  EXPECT_TRUE(FileExists(file));
  EXPECT_FALSE(DirExists(file));
  EXPECT_FALSE(FileExists(""));
  EXPECT_FALSE(DirExists(""));
  EXPECT_FALSE(FileExists(dir.File("nowhere.mp3")));
  EXPECT_FALSE(DirExists(dir.File("nowhere")));
  EXPECT_FALSE(FileExists(test::U8(dir.Path())));
  EXPECT_TRUE(DirExists(test::U8(dir.Path())));

  fs::permissions(test::FromU8(file), fs::perms::owner_read, fs::perm_options::replace);
  EXPECT_TRUE(FileExists(file));
  fs::permissions(test::FromU8(file), fs::perms::owner_all, fs::perm_options::replace);
}

TEST_F(TagFile, NamesOutsideTheCodePage) {
  const Bytes audio = Audio(400);
  const std::string path = Make("Ünïcødé ☃ 曲 — «x».mp3", audio);
  ASSERT_TRUE(FileExists(path));
  ASSERT_TRUE(WriteTag(path, Sample(), kCp));
  EXPECT_EQ(ReadTag(path, kCp).title, "Title");
  ASSERT_TRUE(RemoveTag(path));
  EXPECT_EQ(test::ReadAll(path), audio);
}

TEST_F(TagFile, TextIsStoredInTheCodePage) {
  TagFields f = Sample();
  f.artist = "Björk";
  f.title = "€ 5 — ☃";
  const std::string path = Make("text.mp3", Audio(200));
  ASSERT_TRUE(WriteTag(path, f, kCp));
  const Bytes on_disk = test::ReadAll(path);
  const std::size_t rec = 200;
  EXPECT_EQ(on_disk[rec + record::kArtistOffset + 2], 0xF6); // ö
  EXPECT_EQ(on_disk[rec + record::kTitleOffset + 0], 0x80);  // €
  EXPECT_EQ(on_disk[rec + record::kTitleOffset + 4], 0x97);  // em dash
  EXPECT_EQ(on_disk[rec + record::kTitleOffset + 6], '?');   // no snowman in 1252
  const TagFields back = ReadTag(path, kCp);
  EXPECT_EQ(back.artist, "Björk");
  EXPECT_EQ(back.title, "€ 5 — ?");
}

// Another program changes the file between reading its tag and saving.
TEST_F(TagFile, FileShortenedOrRemovedAfterLoading) {
  const std::string path =
      Make("changing.mp3", test::Concat({Audio(1000), test::RecordBytes(Sample())}));
  TagFields edited = ReadTag(path, kCp);
  edited.title = "Edited";

  fs::resize_file(test::FromU8(path), 60);
  const Bytes shortened = test::ReadAll(path);
  EXPECT_EQ(TryWriteTag(path, edited, kCp).error(), TagError::TooShort);
  EXPECT_EQ(TryRemoveTag(path).error(), TagError::TooShort);
  EXPECT_EQ(test::ReadAll(path), shortened);

  fs::remove(test::FromU8(path));
  EXPECT_EQ(TryWriteTag(path, edited, kCp).error(), TagError::NotFound);
  EXPECT_EQ(TryRemoveTag(path).error(), TagError::NotFound);
  EXPECT_FALSE(fs::exists(test::FromU8(path)));
}

// Offsets past 2 and 4 GiB, on sparse files.
TEST_F(TagFile, LargeFiles) {
  for (std::uint64_t size : {(1ull << 31) + 5, (1ull << 32) + 100}) {
    const std::string path = Make("large.mp3", {});
    fs::resize_file(test::FromU8(path), size);
    ASSERT_TRUE(WriteTag(path, Sample(), kCp)) << size;
    EXPECT_EQ(fs::file_size(test::FromU8(path)), size + 128);
    EXPECT_EQ(ReadTag(path, kCp).title, "Title");
    ASSERT_TRUE(RemoveTag(path));
    EXPECT_EQ(fs::file_size(test::FromU8(path)), size);
    EXPECT_EQ(ReadTag(path, kCp), TagFields{});
    fs::remove(test::FromU8(path));
  }
}

} // namespace
} // namespace id3
