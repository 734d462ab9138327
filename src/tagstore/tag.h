// The ID3v1 tag: the 128-byte record at the end of an MP3 file, its in-memory
// form, and reading, writing and removing it.
#pragma once

#include "tools/codepage.h"
#include "tools/fileio.h"

#include <array>
#include <cstdint>
#include <expected>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace id3 {

// Byte layout of the record; offsets from its first byte, which is the file's
// byte L - 128.
namespace record {
constexpr std::size_t kSize = 128;
constexpr std::size_t kMarkerOffset = 0, kMarkerWidth = 3;
constexpr std::size_t kTitleOffset = 3, kTitleWidth = 30;
constexpr std::size_t kArtistOffset = 33, kArtistWidth = 30;
constexpr std::size_t kAlbumOffset = 63, kAlbumWidth = 30;
constexpr std::size_t kYearOffset = 93, kYearWidth = 4;
constexpr std::size_t kCommentOffset = 97, kCommentWidth = 30;
// ID3v1.1: a zero at comment byte 28 followed by a non-zero byte 29 makes that
// last byte a track number and leaves 28 bytes of comment.
constexpr std::size_t kV11CommentWidth = 28;
constexpr std::size_t kV11ZeroOffset = 125;
constexpr std::size_t kTrackOffset = 126;
constexpr std::size_t kGenreOffset = 127;
} // namespace record

using TagRecord = std::array<std::uint8_t, record::kSize>;

// The tag in memory. Text is UTF-8. All text empty means the file has no tag.
struct TagFields {
  std::string marker;
  std::string title;
  std::string artist;
  std::string album;
  std::string year;
  std::string comment;
  // The genre's name from the genre table; empty when its number has none.
  std::string genre;
  // ID3v1.1 track number (1-255); empty when the record holds none.
  std::optional<std::uint8_t> track;
  // The genre byte as read. Written back when genre is empty, so a number that
  // has no name (255 is "no genre" to many taggers) survives a save.
  std::uint8_t genre_byte = 0;

  bool HasTag() const { return !marker.empty(); }
  bool operator==(const TagFields&) const = default;
};

// Zero characters removed wherever they stand, then trailing spaces.
std::string CleanTagText(std::string_view text);

// True when the bytes (a record, the last 128 bytes of a file) start with
// "tag" in any letter case.
bool HasTagMarker(std::span<const std::uint8_t> rec);

// Fields of a record; all empty when it has no marker.
TagFields ParseTagRecord(const TagRecord& rec, const CodePage& cp);

// A record for the fields: each text cut to its width and padded with spaces,
// the marker "TAG" unless it is "tag" in some letter case, the genre byte from
// the name (or genre_byte when the name is empty), the ID3v1.1 layout when a
// track is given. ApplyEdit on no record, every field named.
TagRecord RenderTagRecord(const TagFields& tag, const CodePage& cp);

enum class TextField { kTitle, kArtist, kAlbum, kYear, kComment };
// "title", "artist", "album", "year", "comment".
std::string_view FieldName(TextField field);

// A change to a record. What it names is written; everything else keeps the
// bytes it had, whatever the code page, because text that one code page wrote
// need not survive the round trip through another.
struct TagEdit {
  std::optional<std::string> title, artist, album, year, comment; // UTF-8
  // 1 to 255 sets the ID3v1.1 track number; 0 removes it.
  std::optional<std::uint8_t> track;
  std::optional<std::uint8_t> genre;
  // Written as given when it is "tag" in some letter case, else as "TAG".
  std::optional<std::string> marker;
};

// What became of a text field that was encoded: the edit named it, or a track
// number took the last two bytes of a comment that needed them.
struct FieldWritten {
  TextField field;
  std::size_t width;  // its width in bytes
  bool cut;           // longer than that: cut between two characters
  bool replaced;      // characters the code page lacks were replaced
  std::string stored; // the text as it reads back
  bool operator==(const FieldWritten&) const = default;
};

struct EditedRecord {
  TagRecord record;
  std::vector<FieldWritten> fields; // in the record's order
};

// The record after the edit; read is the record as the file holds it, none
// (or bytes without the marker) for a file without a tag, which gets blank
// fields, no track and the genre byte 255, "no genre" to most taggers.
EditedRecord ApplyEdit(const std::optional<TagRecord>& read, const TagEdit& edit,
                       const CodePage& cp);

// Why an operation on a file failed.
enum class TagError {
  NotFound,
  IsDirectory,
  TooShort,     // shorter than the 128 bytes of a record
  OnlyTag,      // TryRemoveTag: the file is nothing but the tag
  AccessDenied, // permission denied, read-only
  InUse,        // held open by another program
  NoSpace,
  Changed,    // not the length the caller saw when it read the tag
  UnclearEnd, // a block's size points outside the file or into another block
  IoError,
};

std::string_view Describe(TagError error);

// The operations on a file read its end through ReadFileEnd
// (tagstore/trailing.h): the record is the ID3v1 tag found there, never bytes
// that spell "TAG" inside another block, and a file whose end is unclear is
// left alone (UnclearEnd). The ID3v2 tags at the start are not looked for
// here (ReadFileEnd's floor is 0): that only lets a crafted block at the end
// reach back into them, and the callers plan from their own reading first.

// The record a file ends in, none when it has no tag, and the file's length.
struct StoredRecord {
  std::optional<TagRecord> record;
  std::uint64_t file_size = 0;
};
std::expected<StoredRecord, TagError> TryReadRecord(const std::string& path);
// Writes the record over the file's tag, or behind every other block at its
// end when it has none; the TAG+ parts of the text fields that edit names
// (the edit the record was made with) are cleared. With expected_size, the
// length the caller saw when it read the tag, a file that has since changed
// its length is left alone (Changed): another program shortened it, cut its
// tag or wrote to it in between.
std::expected<void, TagError> TryWriteRecord(const std::string& path, const TagRecord& rec,
                                             const TagEdit& edit,
                                             std::optional<std::uint64_t> expected_size = {});

// Cuts the tag and its TAG+ block off the file; a file without one is left
// alone. A file that is nothing but the tag keeps it (OnlyTag).
std::expected<void, TagError> TryRemoveTag(const std::string& path,
                                           std::optional<std::uint64_t> expected_size = {});

// True when the path names an existing file (any attributes); false for a
// folder, an empty or a missing path.
bool FileExists(const std::string& path);

} // namespace id3
