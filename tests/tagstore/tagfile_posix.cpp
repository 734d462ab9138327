// Failures that need the real system underneath: a file the user may not
// write, and a file system with no space left.
#include "tagstore/tag.h"

#include "testfs.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <grp.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace id3 {
namespace {

namespace fs = std::filesystem;
using test::Bytes;

const CodePage kCp = CodePage::Windows1252();

TagFields Sample() {
  TagFields f;
  f.title = "Title";
  f.genre = "Pop";
  return f;
}

// Runs fn in a child process as an unprivileged user (root writes to any file,
// whatever its mode) and returns its exit code.
template <class Fn> int AsNobody(Fn fn) {
  const pid_t pid = fork();
  if (pid == 0) {
    if (geteuid() == 0 && (setgroups(0, nullptr) != 0 || setresgid(65534, 65534, 65534) != 0 ||
                           setresuid(65534, 65534, 65534) != 0))
      _exit(99);
    _exit(fn());
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 98;
}

TEST(TagFileSystem, ReadOnlyFileIsReadButNeverChanged) {
  test::ScratchDir dir;
  fs::permissions(dir.Path(), fs::perms::all, fs::perm_options::replace);
  TagFields old = Sample();
  old.marker = "TAG";
  const TagRecord rec = RenderTagRecord(old, kCp);
  const Bytes content = test::Concat({Bytes(500, 0x11), Bytes(rec.begin(), rec.end())});
  const std::string path = dir.File("readonly.mp3");
  test::WriteAll(path, content);
  fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read,
                  fs::perm_options::replace);

  const int code = AsNobody([&] {
    TagFields edited = Sample();
    edited.title = "Changed";
    if (ReadTag(path, kCp).title != "Title") return 1;
    auto w = TryWriteTag(path, edited, kCp);
    if (w || w.error() != TagError::AccessDenied) return 2;
    auto r = TryRemoveTag(path);
    if (r || r.error() != TagError::AccessDenied) return 3;
    return 0;
  });
  EXPECT_EQ(code, 0);
  EXPECT_EQ(test::ReadAll(path), content);
}

// A small tmpfs, filled to the last page, so that appending a tag fails for
// real with "no space left".
class FullDisk : public ::testing::Test {
protected:
  void SetUp() override {
    if (geteuid() != 0) GTEST_SKIP() << "mounting a tmpfs needs root";
    mnt_ = dir_.Path() / "mnt";
    fs::create_directory(mnt_);
    if (mount("tmpfs", mnt_.c_str(), "tmpfs", 0, "size=64k") != 0)
      GTEST_SKIP() << "tmpfs mount refused: " << std::strerror(errno);
    mounted_ = true;
  }
  void TearDown() override {
    if (mounted_) umount(mnt_.c_str());
  }
  // Fills the file system until a write fails.
  void Fill() {
    const int fd = ::open((mnt_ / "filler").c_str(), O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(fd, 0);
    const Bytes block(512, 0);
    while (::write(fd, block.data(), block.size()) > 0) {
    }
    ::close(fd);
  }
  test::ScratchDir dir_;
  fs::path mnt_;
  bool mounted_ = false;
};

TEST_F(FullDisk, AppendingFailsAndLeavesTheFileAsItWas) {
  // 64 bytes short of a page boundary: the record's first half still fits,
  // its second half does not, so the append fails part-way.
  const Bytes content(8192 - 64, 0x5A);
  const std::string path = test::U8(mnt_ / "song.mp3");
  test::WriteAll(path, content);
  Fill();
  const auto result = TryWriteTag(path, Sample(), kCp);
  ASSERT_FALSE(result);
  EXPECT_EQ(result.error(), TagError::NoSpace);
  EXPECT_EQ(test::ReadAll(path), content);
}

TEST_F(FullDisk, ReplacingAndRemovingStillWork) {
  TagFields old = Sample();
  const TagRecord rec = RenderTagRecord(old, kCp);
  const Bytes audio(8000, 0x5A);
  const std::string path = test::U8(mnt_ / "tagged.mp3");
  test::WriteAll(path, test::Concat({audio, Bytes(rec.begin(), rec.end())}));
  Fill();
  TagFields edited = old;
  edited.title = "Edited";
  ASSERT_TRUE(WriteTag(path, edited, kCp));
  EXPECT_EQ(ReadTag(path, kCp).title, "Edited");
  ASSERT_TRUE(RemoveTag(path));
  EXPECT_EQ(test::ReadAll(path), audio);
}

} // namespace
} // namespace id3
