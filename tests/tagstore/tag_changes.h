// The three changes a file's tag goes through (appended, replaced, removed),
// each with every file operation it makes put under a fault or a crash in
// turn.
#pragma once

#include "sample_tag.h"

#include <functional>

namespace id3::test {

// Whether a change got as far as the operation interrupted, and its result.
struct Interrupted {
  bool reached, ok;
};

// Each change with its first, second, ... file operation interrupted by run:
// it fails and leaves the file exactly as it was or exactly the result, never
// between; once it no longer reaches the operation, it succeeds.
inline void InterruptEachOperation(
    const std::string& path, const Bytes& audio,
    const std::function<Interrupted(const std::function<bool()>& change, int at)>& run) {
  TagFields edited = SampleTag();
  edited.title = "New";
  const Bytes old = Concat({audio, RecordBytes(SampleTag())});
  const Bytes written = Concat({audio, RecordBytes(edited)});
  const auto write = [&] { return WriteTagOf(path, edited).has_value(); };
  const auto remove = [&] { return TryRemoveTag(path).has_value(); };
  const struct {
    Bytes before, after;
    std::function<bool()> apply;
  } changes[] = {{audio, written, write}, {old, written, write}, {old, audio, remove}};
  for (const auto& [before, after, apply] : changes) {
    for (int at = 1;; ++at) {
      WriteAll(path, before);
      const auto [reached, ok] = run(apply, at);
      const Bytes left = ReadAll(path);
      EXPECT_TRUE(left == before || left == after) << "interrupted at " << at;
      if (!reached) {
        EXPECT_TRUE(ok && left == after && at > 3);
        break;
      }
      EXPECT_FALSE(ok) << "interrupted at " << at;
    }
  }
}

} // namespace id3::test
