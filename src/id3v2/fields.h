// What an ID3v2 tag says of the fields an ID3v1 tag has: which frames hold
// each one, the genre frame's forms, and the fields as the frames hold them.
#pragma once

#include "id3v2/reader.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace id3::id3v2 {

// Several values of one frame as one text. Never with a zero in between:
// what shows or stores it would cut the text there.
std::string JoinValues(const std::vector<std::string>& values);

// One genre of a genre frame (TCON). Its values take the forms "17", "(17)",
// "(17)Eurodance", "(17)(18)", "RX", "(CR)", "Eurodance" and "((Name)" for a
// name that begins with a parenthesis; 2.4 lists several values.
struct Genre {
  enum class Kind : std::uint8_t { kNumber, kName, kRemix, kCover };
  Kind kind = Kind::kName;
  std::uint32_t number = 0; // kNumber; larger numbers stand at UINT32_MAX
  std::string name;         // kName
  bool operator==(const Genre&) const = default;
};
std::vector<Genre> ParseGenres(const std::vector<std::string>& values);

// Its ID3v1 genre byte, where it has one: a number or a name (in any letter
// case) of the genre table.
std::optional<std::uint8_t> GenreByte(const Genre& genre);

// The comment an ID3v1 tag can take: one described "ID3v1 Comment" (or
// "ID3v1.1 Comment" and the like, in any letter case), else the first without
// a description, in any language; never one with another description, such
// as iTunes' "iTunNORM" loudness or "iTunes_CDDB_1". Comments without text
// are passed over. Nothing where none fits.
const Comment* ChosenComment(const Tag& tag);

// The dates in the order they stand for the year: recorded (TDRC), the year
// frame (TYER), released (TDRL), original (TDOR, TORY).
constexpr TextFrame kDateFrames[] = {TextFrame::kRecorded, TextFrame::kYear, TextFrame::kReleased,
                                     TextFrame::kOriginalYear};

// The fields as the frames hold them, for showing: the whole text of each,
// values joined; the artist from TPE1, else TPE2; the first date of
// kDateFrames in full; the chosen comment; the track as written ("3/12");
// the genres by name, joined. Nothing where the tag has no such frame.
struct Fields {
  std::optional<std::string> title{}, artist{}, album{}, year{}, comment{}, track{}, genre{};
  bool operator==(const Fields&) const = default;
};
Fields ShownFields(const Tag& tag);

} // namespace id3::id3v2
