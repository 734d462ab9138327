// The blocks at the end of an MP3 file, read from the end backwards: the
// ID3v1 record with the TAG+ block in front of it, APEv2 tags, Lyrics3 blocks
// and an appended ID3v2 tag, in whatever order their writers left them. The
// audio ends where the first of them begins. Writing the ID3v1 tag is planned
// from this reading, so that no other block's bytes are ever touched.
#pragma once

#include "tagstore/tag.h"
#include "tools/bytesource.h"
#include "tools/codepage.h"

#include <array>
#include <cstdint>
#include <expected>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace id3 {

// APEv2: items, then a 32-byte footer; with the has-header flag the same 32
// bytes (the is-header flag set) also stand in front of the items.
//   0  8  "APETAGEX"
//   8  4  version (1000 or 2000), little-endian like every number here
//  12  4  size of the items and the footer, not the header
//  16  4  number of items
//  20  4  flags
//  24  8  reserved, zero
namespace ape {
constexpr std::size_t kFooterSize = 32;
constexpr std::size_t kHeaderSize = 32;
constexpr std::string_view kPreamble = "APETAGEX";
constexpr std::size_t kVersionOffset = 8;
constexpr std::size_t kSizeOffset = 12;
constexpr std::size_t kItemCountOffset = 16;
constexpr std::size_t kFlagsOffset = 20;
constexpr std::size_t kNumberWidth = 4;
constexpr std::uint32_t kHasHeader = 0x8000'0000;
constexpr std::uint32_t kIsHeader = 0x2000'0000;
} // namespace ape

// Lyrics3 v2: "LYRICSBEGIN", fields, then the size of all that as six
// decimal digits and "LYRICS200". Lyrics3 v1: "LYRICSBEGIN", at most 5,100
// bytes of lyrics, "LYRICSEND".
namespace lyrics3 {
constexpr std::string_view kBegin = "LYRICSBEGIN";
constexpr std::string_view kEndV2 = "LYRICS200";
constexpr std::size_t kSizeDigits = 6;
constexpr std::size_t kTrailerV2 = kSizeDigits + kEndV2.size();
constexpr std::string_view kEndV1 = "LYRICSEND";
constexpr std::size_t kMaxLyricsV1 = 5100;
} // namespace lyrics3

// TAG+: 227 bytes directly in front of the ID3v1 record. Title, artist and
// album go on where the record's 30 bytes end.
namespace tagplus {
constexpr std::size_t kSize = 227;
constexpr std::string_view kMarker = "TAG+";
constexpr std::size_t kTitleOffset = 4, kArtistOffset = 64, kAlbumOffset = 124;
constexpr std::size_t kTextWidth = 60;
constexpr std::size_t kSpeedOffset = 184;
constexpr std::size_t kGenreOffset = 185, kGenreWidth = 30;
constexpr std::size_t kStartOffset = 215, kEndOffset = 221, kTimeWidth = 6;
} // namespace tagplus

// The footer of an ID3v2.4 tag appended behind the audio: "3DI", the version,
// the flags, the body's size in synchsafe digits. Its header, "ID3" with the
// same nine bytes behind, stands in front of the body.
namespace id3v2footer {
constexpr std::size_t kSize = 10;
constexpr std::string_view kMarker = "3DI";
constexpr std::string_view kHeaderMarker = "ID3";
constexpr std::size_t kMarkerWidth = 3;
constexpr std::size_t kSizeOffset = 6;
constexpr std::size_t kSizeWidth = 4;
constexpr std::uint8_t kUnknownVersion = 0xFF;
// Each size byte holds 7 bits; its top bit is never set.
constexpr unsigned kSynchsafeBits = 7;
constexpr std::uint8_t kNotSynchsafe = 0x80;
} // namespace id3v2footer

using TagPlusBlock = std::array<std::uint8_t, tagplus::kSize>;

enum class EndBlock : std::uint8_t { kApe, kLyrics3v2, kLyrics3v1, kId3v2, kTagPlus, kId3v1 };
// "APEv2", "Lyrics3v2", "Lyrics3v1", "ID3v2", "TAG+", "ID3v1".
std::string_view EndBlockName(EndBlock kind);

struct Block {
  EndBlock kind;
  std::uint64_t offset;
  std::uint64_t size;
  bool operator==(const Block&) const = default;
};

struct FileEnd {
  std::uint64_t file_size = 0;
  // From the audio's end to the file's end.
  std::vector<Block> blocks;
  std::uint64_t audio_end = 0;
  // The ID3v1 record and the TAG+ block, where the file has them.
  std::optional<TagRecord> record;
  std::optional<TagPlusBlock> tag_plus;
  // Set where a block's size points outside the file or into another block
  // and the end cannot be read one way only: what was found, for a message.
  // The blocks behind that point are still listed; the rest counts as audio.
  std::optional<std::string> unclear;

  std::optional<std::uint64_t> RecordOffset() const;
};

// The end of src, read from its last 4 KiB where they hold every block, else
// with a read for each block that reaches further. Nothing before floor (the
// end of the ID3v2 tags at the start) belongs to a block at the end.
io::Result<FileEnd> ReadFileEnd(const io::ByteSource& src, std::uint64_t floor = 0);
constexpr std::size_t kEndWindow = 4 * 1024;

// What `set` writes: the record at record_offset (over the old one, or at the
// file's end behind every other block), and where a field the edit writes is
// extended by TAG+, the TAG+ block with that part cleared.
struct SetPlan {
  std::uint64_t record_offset;
  bool append;
  std::optional<std::pair<std::uint64_t, TagPlusBlock>> tag_plus;
};
// What `remove` does: the length the file is cut to, the ID3v1 record and its
// TAG+ block gone; nothing when the file has no ID3v1 tag.
struct RemovePlan {
  std::optional<std::uint64_t> cut_to;
};
// Both refuse a file whose end is unclear, with what was found.
std::expected<SetPlan, std::string> PlanSet(const FileEnd& end, const TagEdit& edit);
std::expected<RemovePlan, std::string> PlanRemove(const FileEnd& end);

// Title, artist and album whole: the record's 30 bytes joined with TAG+'s 60,
// decoded and cleaned as one text.
struct LongTexts {
  std::string title, artist, album;
  bool operator==(const LongTexts&) const = default;
};
LongTexts JoinTagPlus(const TagRecord& rec, const TagPlusBlock& plus, const CodePage& cp);

} // namespace id3
