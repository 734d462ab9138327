// The 128-byte record as bytes, and the genre table.
#include "tagstore/genres.h"
#include "tagstore/tag.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <utility>
#include <vector>

// The tables name only the fields a case is about; the others keep their defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace id3 {
namespace {

using namespace std::string_literals;
using Parts = std::vector<std::pair<std::size_t, std::string>>; // bytes at record offsets

const CodePage kCp = CodePage::Windows1252();

TagRecord RecordOf(const Parts& parts) {
  TagRecord rec{};
  for (const auto& [at, bytes] : parts) std::ranges::copy(bytes, rec.begin() + at);
  return rec;
}

TEST(TagRecordParse, Table) {
  const std::pair<Parts, TagFields> cases[] = {
      {{{0, "TAG"}, {3, "Song"}}, {.marker = "TAG", .title = "Song", .genre = "Blues"}},
      {{{0, "tAg"}, {127, "\x7D"}}, {.marker = "tAg", .genre = "Dance Hall", .genre_byte = 125}},
      {{{0, "tag"}, {127, "\x7E"}}, {.marker = "tag", .genre_byte = 126}},
      {{{0, "TAG"}, {127, "\xFF"}}, {.marker = "TAG", .genre_byte = 255}},
      {{{0, "TAF"}, {3, "Song"}}, {}},
      {{{0, "TA"}, {3, "Song"}}, {}},
      // Zero and space padding read alike; a zero between letters joins them.
      {{{0, "TAG"}, {3, "Ab\0Cd    "s}, {33, "  Ar\tist \0 "s}},
       {.marker = "TAG", .title = "AbCd", .artist = "  Ar\tist", .genre = "Blues"}},
      // ID3v1.1: a zero at comment byte 28 and a track number at 29.
      {{{0, "TAG"}, {97, "comment"}, {126, "\x0C"}},
       {.marker = "TAG", .comment = "comment", .genre = "Blues", .track = 12}},
      // A full comment, or a zero where the track would be, holds no track.
      {{{0, "TAG"}, {97, std::string(30, 'c')}},
       {.marker = "TAG", .comment = std::string(30, 'c'), .genre = "Blues"}},
      {{{0, "TAG"}, {97, std::string(28, 'c')}},
       {.marker = "TAG", .comment = std::string(28, 'c'), .genre = "Blues"}},
  };
  for (const auto& [parts, want] : cases)
    EXPECT_EQ(ParseTagRecord(RecordOf(parts), kCp), want) << parts.front().second;
}

TEST(TagRecordRender, Table) {
  const std::string blank(30, ' ');
  const std::pair<TagFields, Parts> cases[] = {
      {{.title = std::string(40, 'T')}, {{3, std::string(30, 'T')}, {63, blank}}},
      {{.artist = "Artist  ", .year = "19999"}, {{33, "Artist" + blank.substr(6)}, {93, "1999"}}},
      {{.comment = "c", .genre = "rock"}, {{97, "c" + blank.substr(1)}, {127, "\x11"}}},
      // The marker as given when it is "tag" in some letter case, else "TAG".
      {{.marker = "tag"}, {{0, "tag"}}},
      {{.marker = "ID3"}, {{0, "TAG"}}},
      {{.marker = ""}, {{0, "TAG"}}},
      // An unknown name writes Blues; no name, the byte that was read.
      {{.genre = "No Such Genre", .genre_byte = 200}, {{127, "\0"s}}},
      {{.genre_byte = 200}, {{127, "\xC8"}}},
      // With a track, 28 bytes of comment; a track of 0 is none.
      {{.comment = std::string(30, 'y'), .track = 1}, {{97, std::string(28, 'y') + "\0\x01"s}}},
      {{.comment = "z", .track = 0}, {{97, "z" + blank.substr(1)}}},
      // Windows-1252 bytes; a character it lacks becomes '?'.
      {{.title = "€ 5 — ☃", .artist = "Björk"}, {{3, "\x80 5 \x97 ?"}, {33, "Bj\xF6rk "}}},
  };
  for (const auto& [fields, want] : cases) {
    const TagRecord rec = RenderTagRecord(fields, kCp);
    for (const auto& [at, bytes] : want)
      EXPECT_EQ(std::string(rec.begin() + at, rec.begin() + at + bytes.size()), bytes) << at;
  }
}

TEST(TagRecord, EveryFieldTheTrackAndAnUnnamedGenreByteSurviveARoundTrip) {
  TagFields f{.marker = "TAG", .title = "Play Dead", .artist = "Björk", .year = "1993"};
  f.comment = std::string(28, 'x');
  f.track = 255;
  f.genre_byte = 254;
  EXPECT_EQ(ParseTagRecord(RenderTagRecord(f, kCp), kCp), f);
  // Beside a track, a comment in a double-byte code page is cut to 28 bytes
  // without splitting a character.
  const auto japanese = CodePage::Named("932");
  if (!japanese) GTEST_SKIP() << "code page 932 is not available";
  f.comment = "aああああああああああああああ";
  EXPECT_EQ(ParseTagRecord(RenderTagRecord(f, *japanese), *japanese).comment,
            f.comment.substr(0, 40));
}

// Refuses one name: the others must still arrive.
struct PickyList {
  std::vector<std::string> items;
  void AddItem(const std::string& s) {
    if (s == "Jazz") throw std::runtime_error("refused");
    items.push_back(s);
  }
};

TEST(Genres, NamesNumbersAndTheList) {
  for (int none : {126, 255, -1, -32768})
    EXPECT_EQ(GenreName(static_cast<std::int16_t>(none)), "") << none;
  // Back from every name to its number: no two are equal, even ignoring case.
  for (std::int16_t i = 0; i < kGenreCount; ++i) EXPECT_EQ(FindGenre(GenreName(i)), i);
  const std::pair<std::string_view, std::int16_t> named[] = {
      {"BLUES", 0}, {"rock & roll", 78}, {"JAZZ", 8}, {"Dance Hall", 125}};
  for (const auto& [name, index] : named) EXPECT_EQ(GenreIndex(name), index) << name;
  // Letter case only: no spelling fixes, trimming, partial matches or numbers.
  for (std::string_view name : {"Psychedelic", "", " Rock", "Rock ", "Roc", "17"}) {
    EXPECT_EQ(FindGenre(name), std::nullopt) << name;
    EXPECT_EQ(GenreIndex(name), 0) << name;
  }
  PickyList list;
  FillGenreList(list);
  FillGenreList(list);
  ASSERT_EQ(list.items.size(), 250u);
  EXPECT_TRUE(list.items[0] == "Blues" && list.items[8] == "Metal" &&
              list.items[124] == "Dance Hall");
}

} // namespace
} // namespace id3
