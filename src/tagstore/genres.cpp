#include "tagstore/genres.h"

#include "tools/text.h"

#include <array>

namespace id3 {
namespace {

// 0-79 are the genres of the ID3v1 standard, 80-125 the Winamp extension, in
// their published order and spelling ("Psychadelic", "Bebob", "Acapella").
// clang-format off
constexpr std::array<std::string_view, kGenreCount> kGenreNames = {
    "Blues", "Classic Rock", "Country", "Dance", "Disco", "Funk", "Grunge", "Hip-Hop", "Jazz",
    "Metal", "New Age", "Oldies", "Other", "Pop", "R&B", "Rap", "Reggae", "Rock", "Techno",
    "Industrial", "Alternative", "Ska", "Death Metal", "Pranks", "Soundtrack", "Euro-Techno",
    "Ambient", "Trip-Hop", "Vocal", "Jazz+Funk", "Fusion", "Trance", "Classical", "Instrumental",
    "Acid", "House", "Game", "Sound Clip", "Gospel", "Noise", "AlternRock", "Bass", "Soul", "Punk",
    "Space", "Meditative", "Instrumental Pop", "Instrumental Rock", "Ethnic", "Gothic",
    "Darkwave", "Techno-Industrial", "Electronic", "Pop-Folk", "Eurodance", "Dream",
    "Southern Rock", "Comedy", "Cult", "Gangsta", "Top 40", "Christian Rap", "Pop/Funk", "Jungle",
    "Native American", "Cabaret", "New Wave", "Psychadelic", "Rave", "Showtunes", "Trailer",
    "Lo-Fi", "Tribal", "Acid Punk", "Acid Jazz", "Polka", "Retro", "Musical", "Rock & Roll",
    "Hard Rock", "Folk", "Folk-Rock", "National Folk", "Swing", "Fast Fusion", "Bebob", "Latin",
    "Revival", "Celtic", "Bluegrass", "Avantgarde", "Gothic Rock", "Progressive Rock",
    "Psychedelic Rock", "Symphonic Rock", "Slow Rock", "Big Band", "Chorus", "Easy Listening",
    "Acoustic", "Humour", "Speech", "Chanson", "Opera", "Chamber Music", "Sonata", "Symphony",
    "Booty Bass", "Primus", "Porn Groove", "Satire", "Slow Jam", "Club", "Tango", "Samba",
    "Folklore", "Ballad", "Power Ballad", "Rhythmic Soul", "Freestyle", "Duet", "Punk Rock",
    "Drum Solo", "Acapella", "Euro-House", "Dance Hall",
};
// clang-format on

bool GenresLoaded = false;
std::array<std::string, kGenreCount> GenreTable;

void EnsureTable() {
  if (!GenresLoaded) BuildGenreTable();
}

} // namespace

void BuildGenreTable() {
  GenresLoaded = true;
  for (std::size_t i = 0; i < kGenreNames.size(); ++i) GenreTable[i] = kGenreNames[i];
}

std::string GenreName(std::int16_t index) {
  EnsureTable();
  if (index < 0 || index >= kGenreCount) return {};
  return GenreTable[static_cast<std::size_t>(index)];
}

std::optional<std::int16_t> FindGenre(std::string_view name) {
  EnsureTable();
  for (std::int16_t i = 0; i < kGenreCount; ++i) {
    if (text::EqualIgnoringCase(GenreTable[static_cast<std::size_t>(i)], name)) return i;
  }
  return std::nullopt;
}

std::int16_t GenreIndex(std::string_view name) { return FindGenre(name).value_or(0); }

} // namespace id3
