// Reading the ID3v2 tag of a file: where the tags are, and the text and
// comment frames of the first one. Only frame headers and the bodies of the
// frames wanted are read; a cover picture costs a skip. The exception is a
// 2.2 or 2.3 tag unsynchronised as a whole, whose frames can only be found
// by reading it all, resynchronised a chunk at a time.
#pragma once

#include "id3v2/frame_data.h"
#include "id3v2/header.h"
#include "tagstore/trailing.h"
#include "tools/bytesource.h"
#include "tools/codepage.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace id3::id3v2 {

// The text frames read, by what they hold, with their identifiers in 2.3 and
// 2.4 and in 2.2.
enum class TextFrame : std::uint8_t {
  kTitle,        // TIT2, TT2
  kArtist,       // TPE1, TP1
  kBand,         // TPE2, TP2
  kAlbum,        // TALB, TAL
  kRecorded,     // TDRC (2.4)
  kYear,         // TYER, TYE
  kReleased,     // TDRL (2.4)
  kOriginalYear, // TDOR (2.4), TORY, TOR
  kTrack,        // TRCK, TRK
  kGenre,        // TCON, TCO
};
constexpr std::size_t kTextFrameCount = 10;

// A tag and where it starts.
struct PlacedTag {
  std::uint64_t offset{};
  Header header;
  bool operator==(const PlacedTag&) const = default;
};

// The first byte behind the tags at the start of a file, one directly behind
// the other; where listed is given, the first kMaxListed of them are put in.
constexpr std::size_t kMaxListed = 16;
io::Result<std::uint64_t> LeadingTagsEnd(const io::ByteSource& src,
                                         std::vector<PlacedTag>* listed = nullptr);

struct Tag {
  PlacedTag place;
  // The values of the first frame of each kind; nothing where the tag has
  // none, or one without a value.
  std::array<std::optional<std::vector<std::string>>, kTextFrameCount> texts;
  std::vector<Comment> comments; // in the tag's order
  bool cut_short = false;        // the tag claims more bytes than the file holds
  // Frames passed over as unreadable: of size 0, with no identifier,
  // encrypted, running past the tag, or whose data does not decode.
  std::uint32_t skipped_frames = 0;

  const std::optional<std::vector<std::string>>& Text(TextFrame f) const {
    return texts[static_cast<std::size_t>(f)];
  }
};

struct Found {
  // The first tag at the start, read; nothing where it is of a version this
  // reader does not know (2.5 and above) or a 2.2 tag marked compressed,
  // which is no readable tag at all.
  std::optional<Tag> tag;
  // Not read: such an unreadable tag, the tags behind the first, and a 2.4
  // tag appended at the end.
  std::vector<PlacedTag> others;
};

// Nothing of a file without a tag is an error; only a read that fails is.
// The appended tag is the ID3v2 block of end, where the caller has read the
// file's end already, else of a ReadFileEnd here.
io::Result<Found> Read(const io::ByteSource& src, const CodePage& cp,
                       const FileEnd* file_end = nullptr);

} // namespace id3::id3v2
