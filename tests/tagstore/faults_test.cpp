// Every file operation of WriteTag and RemoveTag made to fail in turn: the
// result is false and the file is either exactly what it was or exactly the
// intended result, never anything between.
#include "tagstore/tag.h"
#include "tools/fileio.h"

#include "testfs.h"

#include <gtest/gtest.h>

#include <functional>

namespace id3 {
namespace {

using io::IoError;
using io::Operation;
using test::Bytes;

const CodePage kCp = CodePage::Windows1252();

int g_calls = 0;
int g_fail_at = 0;
IoError g_error = IoError::Other;

std::optional<IoError> CountAndFail(Operation) {
  ++g_calls;
  if (g_calls == g_fail_at) return g_error;
  return std::nullopt;
}

struct HookGuard {
  HookGuard() { io::SetFaultHook(&CountAndFail); }
  ~HookGuard() { io::SetFaultHook(nullptr); }
};

Bytes RecordOf(const TagFields& f) {
  const TagRecord rec = RenderTagRecord(f, kCp);
  return Bytes(rec.begin(), rec.end());
}

TagFields Named(std::string title) {
  TagFields f;
  f.marker = "TAG";
  f.title = std::move(title);
  f.genre = "Jazz";
  return f;
}

struct Case {
  const char* name;
  Bytes before;
  Bytes intended;
  std::function<bool(const std::string&)> operation;
};

std::vector<Case> Cases() {
  const Bytes audio = test::Concat({test::Repeat(0xAB, 3000), test::Repeat(0xCD, 1000)});
  const Bytes old_tag = RecordOf(Named("Old"));
  const Bytes new_tag = RecordOf(Named("New"));
  auto write = [](const std::string& p) { return WriteTag(p, Named("New"), kCp); };
  return {
      {"append", audio, test::Concat({audio, new_tag}), write},
      {"replace", test::Concat({audio, old_tag}), test::Concat({audio, new_tag}), write},
      {"remove", test::Concat({audio, old_tag}), audio,
       [](const std::string& p) { return RemoveTag(p); }},
  };
}

TEST(TagFaults, EveryOperationFailingInTurnLeavesOldOrNew) {
  for (const Case& c : Cases()) {
    for (IoError error : {IoError::Other, IoError::NoSpace, IoError::AccessDenied}) {
      test::ScratchDir dir;
      const std::string path = dir.File("song.mp3");

      // How many file operations the untroubled run makes.
      test::WriteAll(path, c.before);
      int total = 0;
      {
        HookGuard guard;
        g_calls = 0;
        g_fail_at = 0;
        ASSERT_TRUE(c.operation(path)) << c.name;
        total = g_calls;
      }
      ASSERT_EQ(test::ReadAll(path), c.intended) << c.name;
      ASSERT_GT(total, 2) << c.name;

      for (int n = 1; n <= total; ++n) {
        test::WriteAll(path, c.before);
        bool ok = true;
        {
          HookGuard guard;
          g_calls = 0;
          g_fail_at = n;
          g_error = error;
          ok = c.operation(path);
        }
        const Bytes after = test::ReadAll(path);
        EXPECT_FALSE(ok) << c.name << " with operation " << n << " of " << total << " failing";
        EXPECT_TRUE(after == c.before || after == c.intended)
            << c.name << ": operation " << n << " of " << total << " failing left a file of "
            << after.size() << " bytes";
      }
    }
  }
}

} // namespace
} // namespace id3
