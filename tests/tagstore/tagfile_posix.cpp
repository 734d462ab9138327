// What needs a real system underneath: the process killed in the middle of an
// operation, a file the user may not write, a file system with no space left.
#include "tagstore/tag.h"
#include "tools/fileio.h"

#include "sample_tag.h"
#include "tag_changes.h"
#include "testfs.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <grp.h>
#include <memory>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

namespace id3 {
namespace {

namespace fs = std::filesystem;
using test::Bytes;
using test::RecordBytes;

const TagFields kSample = test::SampleTag();

// Runs fn in a child process; its exit code, or -1 when it did not exit.
int InChild(const std::function<int()>& fn) {
  const pid_t pid = fork();
  if (pid == 0) _exit(fn());
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int g_calls = 0, g_kill_at = 0;

std::optional<io::IoError> KillAt(io::Operation) {
  if (++g_calls == g_kill_at) _exit(42);
  return std::nullopt;
}

TEST(TagCrash, KilledAtEveryOperation) {
  test::ScratchDir dir;
  const auto killed = [](const auto& change, int at) {
    g_kill_at = at;
    const int code = InChild([&] {
      io::SetFaultHook(&KillAt);
      return change() ? 0 : 1;
    });
    return test::Interrupted{code == 42, code == 0};
  };
  test::InterruptEachOperation(dir.File("song.mp3"), test::Repeat(0x77, 5000), killed);
}

// Memory at address 0, which the kernel refuses to read: an error, never a retry.
TEST(TagFileSystem, AReadTheSystemRefuses) {
  const auto mem = io::OpenForReading("/proc/self/mem");
  ASSERT_TRUE(mem);
  std::uint8_t bytes[8] = {};
  EXPECT_EQ(mem->file.ReadSomeAt(0, bytes).error(), io::IoError::Other);
}

TEST(TagFileSystem, ReadOnlyFileIsReadButNeverChanged) {
  test::ScratchDir dir;
  fs::permissions(dir.Path(), fs::perms::all, fs::perm_options::replace);
  const Bytes content = test::Concat({Bytes(500, 0x11), RecordBytes(kSample)});
  const std::string path = dir.File("readonly.mp3");
  test::WriteAll(path, content);
  fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read,
                  fs::perm_options::replace);
  const int code = InChild([&] {
    // Root writes to any file, whatever its mode: the rest runs as nobody.
    if (geteuid() == 0 && (setgroups(0, nullptr) != 0 || setresgid(65534, 65534, 65534) != 0 ||
                           setresuid(65534, 65534, 65534) != 0))
      return 99;
    if (test::TagOf(path, CodePage::Windows1252()).title != kSample.title) return 1;
    if (test::WriteTagOf(path, kSample) != std::unexpected(TagError::AccessDenied)) return 2;
    return TryRemoveTag(path) != std::unexpected(TagError::AccessDenied) ? 3 : 0;
  });
  EXPECT_EQ(code, 0);
  EXPECT_EQ(test::ReadAll(path), content);
}

// A 64 KiB tmpfs filled to the last byte: appending a tag fails for real;
// replacing or removing one needs no new block.
TEST(TagFileSystem, FullDisk) {
  if (geteuid() != 0) GTEST_SKIP() << "mounting a tmpfs needs root";
  test::ScratchDir dir;
  const std::string mnt = test::U8(dir.Path());
  if (mount("tmpfs", mnt.c_str(), "tmpfs", 0, "size=64k") != 0)
    GTEST_SKIP() << "tmpfs mount refused: " << std::strerror(errno);
  const std::unique_ptr<const char, decltype(&umount)> unmount(mnt.c_str(), &umount);
  // 64 bytes short of a page: the record's first half still fits, not its second.
  const Bytes content(8192 - 64, 0x5A), audio(8000, 0x5A);
  const std::string untagged = dir.File("song.mp3"), tagged = dir.File("tagged.mp3");
  test::WriteAll(untagged, content);
  test::WriteAll(tagged, test::Concat({audio, RecordBytes(kSample)}));
  // More than there is room for: the file system ends up full to its last page.
  std::ofstream(dir.File("filler"), std::ios::binary) << std::string(128 * 1024, 'x');

  EXPECT_EQ(test::WriteTagOf(untagged, kSample), std::unexpected(TagError::NoSpace));
  EXPECT_EQ(test::ReadAll(untagged), content);
  ASSERT_TRUE(test::WriteTagOf(tagged, kSample));
  ASSERT_TRUE(TryRemoveTag(tagged));
  EXPECT_EQ(test::ReadAll(tagged), audio);
}

} // namespace
} // namespace id3
