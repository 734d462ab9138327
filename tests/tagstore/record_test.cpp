// The 128-byte record as bytes, and the genre table.
#include "tagstore/genres.h"
#include "tagstore/tag.h"

#include "testfs.h"

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
  const std::uint8_t three[] = {'t', 'A', 'g'};
  EXPECT_TRUE(HasTagMarker(three) && !HasTagMarker(std::span(three).first(2)));
}

TEST(TagRecordRender, Table) {
  const std::string blank(30, ' ');
  const std::pair<TagFields, Parts> cases[] = {
      {{.artist = "Artist  ", .year = "19999"},
       {{33, "Artist" + blank.substr(6)}, {63, blank}, {93, "1999"}}},
      {{.comment = "c", .genre = "rock"}, {{97, "c" + blank.substr(1)}, {127, "\x11"}}},
      // The marker as given when it is "tag" in some letter case, else "TAG".
      {{.marker = "tag"}, {{0, "tag"}}},
      {{.marker = "ID3"}, {{0, "TAG"}}},
      {{.marker = ""}, {{0, "TAG"}}},
      // An unknown name writes Blues; no name, the byte that was read.
      {{.genre = "No Such Genre", .genre_byte = 200}, {{127, "\0"s}}},
      {{.genre_byte = 200}, {{127, "\xC8"}}},
      // A track of 0 is none; another takes the comment's last two bytes.
      {{.comment = "z", .track = 0}, {{97, "z" + blank.substr(1)}}},
      {{.comment = std::string(28, 'x'), .track = 255}, {{97, std::string(28, 'x') + "\0\xFF"s}}},
  };
  for (const auto& [fields, want] : cases) {
    const TagRecord rec = RenderTagRecord(fields, kCp);
    for (const auto& [at, bytes] : want)
      EXPECT_EQ(std::string(rec.begin() + at, rec.begin() + at + bytes.size()), bytes) << at;
  }
}

CodePage Named(const char* name) { return CodePage::Named(name).value(); }

TEST(TagEdit, WhatItDoesNotNameKeepsItsBytesInEveryCodePage) {
  // Bytes that read back otherwise in some code page: Windows-1252 and
  // Windows-1251 words, the five bytes 1252 leaves undefined, a lone lead byte
  // of 932 at a field's end, malformed UTF-8; a track and a genre byte.
  const TagRecord read = RecordOf({{0, "tag"},
                                   {3, "Caf\xE9 Cr\xE8me"},
                                   {33, "\xCF\xF0\xE8\xE2\xE5\xF2"},
                                   {63, "\x81\x8D\x8F\x90\x9D" + std::string(24, 'a') + "\x82"},
                                   {93, "1999"},
                                   {97, "\xDC"
                                        "ber D\xE9j\xE0\xC3\x28\xE2\x82"},
                                   {126, "\x07\xC8"}});
  for (const char* name : {"1252", "1251", "932", "936", "UTF-8"}) {
    const CodePage cp = Named(name);
    TagRecord want = read;
    std::ranges::copy(std::string("TAG"), want.begin());
    std::ranges::copy(std::string("2002"), want.begin() + record::kYearOffset);
    want[record::kGenreOffset] = 17;
    const EditedRecord edited = ApplyEdit(read, {.year = "2002", .genre = 17, .marker = "TAG"}, cp);
    EXPECT_EQ(edited.record, want) << name;
    EXPECT_EQ(edited.fields,
              (std::vector<FieldWritten>{{TextField::kYear, 4, false, false, "2002"}}))
        << name;
  }
  // No tag to keep: blank fields, no track, no genre.
  TagRecord blank;
  blank.fill(' ');
  std::ranges::copy(std::string("TAG"), blank.begin());
  blank[record::kGenreOffset] = 255;
  for (const auto& none : {std::optional<TagRecord>(), std::optional(TagRecord{})})
    EXPECT_EQ(ApplyEdit(none, {}, kCp).record, blank);
}

TEST(TagEdit, TextItNamesIsCutBetweenCharactersAndReplacedWhereTheCodePageLacksIt) {
  // code page, a title, the bytes stored, cut, replaced
  const std::tuple<const char*, std::string, std::string, bool, bool> cases[] = {
      {"1252", "Björk", "Bj\xF6rk", false, false},
      {"1252", "日本語", "???", false, true},
      {"1252", std::string(31, 'x'), std::string(30, 'x'), true, false},
      {"1251", "Жö", "\xC6?", false, true},
      {"932", test::Times(15, "あ") + "abc", test::Times(15, "\x82\xA0"), true, false},
      {"932", "a" + test::Times(15, "あ"), "a" + test::Times(14, "\x82\xA0"), true, false},
      {"936", "中文", "\xD6\xD0\xCE\xC4", false, false},
      {"UTF-8", test::Times(16, "é"), test::Times(15, "é"), true, false},
  };
  for (const auto& [name, title, bytes, cut, replaced] : cases) {
    const CodePage cp = Named(name);
    const EditedRecord edited = ApplyEdit(std::nullopt, {.title = title}, cp);
    std::string padded = bytes;
    padded.resize(record::kTitleWidth, ' ');
    EXPECT_EQ(std::string(edited.record.begin() + 3, edited.record.begin() + 33), padded) << title;
    EXPECT_EQ(edited.fields,
              (std::vector<FieldWritten>{{TextField::kTitle, 30, cut, replaced, cp.Decode(bytes)}}))
        << title;
  }
}

TEST(TagEdit, ATrackNumberTakesTheCommentsLastTwoBytes) {
  const std::string c28(28, 'c'), with_track = c28 + "\0\x09"s, a27(27, 'a'), n28(28, 'n'),
                                  n30(30, 'n');
  const auto comment = [](std::size_t width, const std::string& text) {
    return std::vector<FieldWritten>{{TextField::kComment, width, width == 28, false, text}};
  };
  // code page, the comment's 30 bytes as read, the edit, the 30 bytes after it
  const std::tuple<const char*, std::string, TagEdit, std::string, std::vector<FieldWritten>>
      cases[] = {
          // Added: text in the last two bytes is cut, and said so; padding there
          // is not; a character is never split.
          {"1252", std::string(30, 'c'), {.track = 5}, c28 + "\0\x05"s, comment(28, c28)},
          {"1252", c28 + "  ", {.track = 5}, c28 + "\0\x05"s, {}},
          {"932", a27 + "\x82\xA0" + "b", {.track = 5}, a27 + " \0\x05"s, comment(28, a27)},
          // Removed: the 28 bytes stay and padding follows; changed: its byte.
          {"1252", with_track, {.track = 0}, c28 + "  ", {}},
          {"1252", with_track, {.track = 10}, c28 + "\0\x0A"s, {}},
          // A comment given has 28 bytes beside a track, 30 without.
          {"1252", with_track, {.comment = n30}, n28 + "\0\x09"s, comment(28, n28)},
          {"1252", with_track, {.comment = n30, .track = 0}, n30, comment(30, n30)},
      };
  for (const auto& [name, before, edit, after, fields] : cases) {
    const TagRecord read = RecordOf({{0, "TAG"}, {97, before}});
    const EditedRecord edited = ApplyEdit(read, edit, Named(name));
    TagRecord want = read;
    std::ranges::copy(after, want.begin() + record::kCommentOffset);
    EXPECT_EQ(edited.record, want) << after;
    EXPECT_EQ(edited.fields, fields) << after;
  }
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
