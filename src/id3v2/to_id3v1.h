// The rules by which an ID3v2 tag fills an ID3v1 tag: what each field
// becomes, as UTF-8 text, a track and a genre byte, and what could not be
// taken, as warnings. Fitting the text into the record's code page and widths
// is the tag store's work; this only decides what to write.
#pragma once

#include "id3v2/reader.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace id3::id3v2 {

enum class Field : std::uint8_t { kTitle, kArtist, kAlbum, kYear, kComment, kTrack, kGenre };

enum class Reason : std::uint8_t {
  kNoYear,          // the date frames hold no year of four digits: the year is kept
  kTrackZero,       // track 0: no track is written
  kTrackAbove255,   // more than the one byte holds: no track is written
  kTrackNotNumber,  // no number in front: no track is written
  kGenreNotInTable, // no value names a genre of the table: the genre is kept
};

struct Warning {
  Field field;
  Reason reason;
  std::string value; // the frame's text that the warning is about
  bool operator==(const Warning&) const = default;
};

// What to write. A field left empty keeps what the ID3v1 tag holds.
struct Proposal {
  // TIT2; TPE1, else TPE2; TALB; the chosen comment. Values joined with " / ".
  std::optional<std::string> title{}, artist{}, album{}, comment{};
  // The first four digits that begin TDRC, else TYER, else TDRL, else TDOR.
  std::optional<std::string> year{};
  // The number in front of TRCK ("3/12" gives 3): 1-255 that track, 0 no
  // track at all (the ID3v1.0 layout).
  std::optional<std::uint8_t> track{};
  // The first genre of TCON that the table has. Never "Other" for one it
  // has not: that genre is kept, with a warning.
  std::optional<std::uint8_t> genre{};
  std::vector<Warning> warnings{};
  bool operator==(const Proposal&) const = default;
};

Proposal ProposeId3v1(const Tag& tag);

// The warning in words: what the frame holds and what is written instead, as
// in track "300" is above 255; no track written.
std::string Describe(const Warning& warning);

} // namespace id3::id3v2
