// A tag with every text field filled, and its 128 bytes as a file would hold
// them, for the tests that put tags into files.
#pragma once

#include "tagstore/tag.h"
#include "testfs.h"

namespace id3::test {

inline TagFields SampleTag() {
  TagFields f;
  f.marker = "TAG";
  f.title = "Title";
  f.artist = "Artist";
  f.album = "Album";
  f.year = "2001";
  f.comment = "Comment";
  f.genre = "Pop";
  return f;
}

inline Bytes RecordBytes(const TagFields& f, const CodePage& cp = CodePage::Windows1252()) {
  const TagRecord rec = RenderTagRecord(f, cp);
  return Bytes(rec.begin(), rec.end());
}

} // namespace id3::test
