// A tag with every text field filled, and its 128 bytes as a file would hold
// them, for the tests that put tags into files; reading and writing a whole
// tag through the record functions the program calls.
#pragma once

#include "tagstore/tag.h"
#include "testfs.h"

namespace id3::test {

inline TagFields SampleTag() {
  return {"TAG", "Title", "Artist", "Album", "2001", "Comment", "Pop", std::nullopt, 0};
}

inline Bytes RecordBytes(const TagFields& f, const CodePage& cp = CodePage::Windows1252()) {
  const TagRecord rec = RenderTagRecord(f, cp);
  return Bytes(rec.begin(), rec.end());
}

// The tag a file ends in, read as the program reads it: empty fields when it
// has none or cannot be read.
inline TagFields TagOf(const std::string& path, const CodePage& cp = CodePage::SystemDefault()) {
  const auto read = TryReadRecord(path);
  return read && read->record ? ParseTagRecord(*read->record, cp) : TagFields{};
}

inline std::expected<void, TagError> WriteTagOf(const std::string& path, const TagFields& f,
                                                const CodePage& cp = CodePage::Windows1252()) {
  return TryWriteRecord(path, RenderTagRecord(f, cp), {});
}

} // namespace id3::test
