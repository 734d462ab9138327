// The process killed at each file operation of WriteTag and RemoveTag: what is
// left on disk is the old file or the new one, never anything between.
#include "tagstore/tag.h"
#include "tools/fileio.h"

#include "testfs.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

namespace id3 {
namespace {

using test::Bytes;

const CodePage kCp = CodePage::Windows1252();

int g_calls = 0;
int g_kill_at = 0;

std::optional<io::IoError> KillAt(io::Operation) {
  if (++g_calls == g_kill_at) _exit(42);
  return std::nullopt;
}

TagFields Named(std::string title) {
  TagFields f;
  f.marker = "TAG";
  f.title = std::move(title);
  return f;
}

Bytes RecordOf(const TagFields& f) {
  const TagRecord rec = RenderTagRecord(f, kCp);
  return Bytes(rec.begin(), rec.end());
}

// Runs op in a child that dies at file operation n; true when it died there.
template <class Op> bool DiesAt(int n, Op op) {
  const pid_t pid = fork();
  if (pid == 0) {
    g_calls = 0;
    g_kill_at = n;
    io::SetFaultHook(&KillAt);
    op();
    _exit(0);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 42;
}

TEST(TagCrash, KilledAtEveryOperation) {
  const Bytes audio = test::Repeat(0x77, 5000);
  struct Case {
    const char* name;
    Bytes before, intended;
    bool remove;
  } cases[] = {
      {"append", audio, test::Concat({audio, RecordOf(Named("New"))}), false},
      {"replace", test::Concat({audio, RecordOf(Named("Old"))}),
       test::Concat({audio, RecordOf(Named("New"))}), false},
      {"remove", test::Concat({audio, RecordOf(Named("Old"))}), audio, true},
  };
  for (const Case& c : cases) {
    test::ScratchDir dir;
    const std::string path = dir.File("song.mp3");
    int n = 1;
    for (;; ++n) {
      test::WriteAll(path, c.before);
      const bool died = DiesAt(n, [&] {
        if (c.remove)
          RemoveTag(path);
        else
          WriteTag(path, Named("New"), kCp);
      });
      const Bytes after = test::ReadAll(path);
      EXPECT_TRUE(after == c.before || after == c.intended) << c.name << " killed at " << n;
      if (!died) {
        EXPECT_EQ(after, c.intended) << c.name;
        break;
      }
    }
    EXPECT_GT(n, 3) << c.name;
  }
}

} // namespace
} // namespace id3
