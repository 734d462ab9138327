// Which code page an ID3v1 record's text is in, decided for each file from
// what the file itself says, and the rewriting of a record from one code page
// into another.
//
// The record does not name its code page. Most files carry an exact answer
// all the same: their ID3v2 tag holds the same words in Unicode. Where they
// do not, the bytes' UTF-8 shape or the fallback decides; no statistical
// guess, since no detector can judge a 30-byte string.
#pragma once

#include "tagstore/tag.h"
#include "tools/codepage.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace id3 {

// The UTF-8 texts that a file's ID3v2 tag offers for the record's text
// fields: those `set --from-id3v2` would write (id3v2::Proposal's).
struct Id3v2Texts {
  std::optional<std::string> title, artist, album, comment;
};

enum class CodePageFrom : std::uint8_t {
  kOption,  // named by the user
  kId3v2,   // the fields are the ID3v2 tag's texts written in it
  kUtf8,    // every byte above 127 is part of well-formed UTF-8
  kDefault, // no evidence: the fallback
};

// "option", "id3v2", "utf-8", "default".
std::string_view FromName(CodePageFrom from);

struct CodePageChoice {
  CodePage code_page;
  CodePageFrom from;
  // The candidate's name ("windows-1251"), else the code page's own.
  std::string name;
};

// In this order: the option; the candidates (CandidateCodePages) in which
// every text field that holds a byte above 127 and has an ID3v2 text (at
// least one) equals that text as `set --from-id3v2` writes it, the fallback
// among them if it is one, else the first; UTF-8 when the bytes above 127
// are all well-formed UTF-8 and there is one; the fallback. A record of
// ASCII text tries no candidate.
CodePageChoice ChooseCodePage(const TagRecord& rec, const Id3v2Texts& id3v2,
                              const std::optional<CodePage>& option, const CodePage& fallback);

// One of the four text fields, rewritten.
struct RecodedField {
  TextField field;
  std::string before; // read in the old code page
  std::string after;  // as it reads back in the new one
  bool replaced;      // characters the new code page lacks became '?'
  bool cut;           // it needed more bytes: cut between two characters
  bool operator==(const RecodedField&) const = default;
};

struct RecodedRecord {
  TagRecord record;
  std::vector<RecodedField> fields; // title, artist, album, comment
};

// The record with its title, artist, album and comment read in from and
// written in to, through ApplyEdit. A field of ASCII text, which reads the
// same in every candidate, keeps its bytes, and so do year, track and genre.
RecodedRecord RecodeRecord(const TagRecord& rec, const CodePage& from, const CodePage& to);

} // namespace id3
