// The three changes a file's tag goes through (appended, replaced, removed),
// each as the bytes before, the bytes after and the call that makes it: the
// cases the fault and crash tests put every file operation of under.
#pragma once

#include "sample_tag.h"

#include <array>
#include <functional>

namespace id3::test {

struct TagChange {
  Bytes before, after;
  std::function<bool(const std::string&)> apply;
};

inline std::array<TagChange, 3> TagChanges(const Bytes& audio) {
  TagFields edited = SampleTag();
  edited.title = "New";
  const Bytes old = Concat({audio, RecordBytes(SampleTag())});
  const Bytes written = Concat({audio, RecordBytes(edited)});
  const auto write = [edited](const std::string& p) { return WriteTagOf(p, edited).has_value(); };
  const auto remove = [](const std::string& p) { return TryRemoveTag(p).has_value(); };
  return {TagChange{audio, written, write}, TagChange{old, written, write},
          TagChange{old, audio, remove}};
}

} // namespace id3::test
