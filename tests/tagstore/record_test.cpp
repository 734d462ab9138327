// The 128-byte record as bytes: parsing, rendering, text cleaning.
#include "tagstore/tag.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace id3 {
namespace {

const CodePage kCp = CodePage::Windows1252();

TagRecord Record(std::string_view marker, std::string_view title = {}) {
  TagRecord rec{};
  std::copy(marker.begin(), marker.end(), rec.begin());
  std::copy(title.begin(), title.end(), rec.begin() + record::kTitleOffset);
  return rec;
}

std::string Text(const TagRecord& rec, std::size_t offset, std::size_t width) {
  return std::string(reinterpret_cast<const char*>(rec.data()) + offset, width);
}

TEST(CleanTagText, RemovesZerosEverywhereAndTrailingSpacesOnly) {
  EXPECT_EQ(CleanTagText(std::string("ab\0cd\0\0", 7)), "abcd");
  EXPECT_EQ(CleanTagText("  lead  "), "  lead");
  EXPECT_EQ(CleanTagText(std::string("x \0 ", 4)), "x");
  EXPECT_EQ(CleanTagText("tab\t"), "tab\t");
  EXPECT_EQ(CleanTagText(""), "");
}

TEST(TagRecordParse, MarkerInAnyCase) {
  for (std::string_view m : {"TAG", "tag", "Tag", "tAg"}) {
    const TagFields f = ParseTagRecord(Record(m, "Song"), kCp);
    EXPECT_TRUE(f.HasTag()) << m;
    EXPECT_EQ(f.marker, m);
    EXPECT_EQ(f.title, "Song");
  }
  for (std::string_view m : {"TAF", "ID3", "TA"}) {
    EXPECT_EQ(ParseTagRecord(Record(m, "Song"), kCp), TagFields{}) << m;
  }
}

TEST(TagRecordParse, ZeroAndSpacePaddingReadAlike) {
  TagRecord zeros = Record("TAG", "Title");
  TagRecord spaces = Record("TAG", "Title");
  std::memset(spaces.data() + record::kTitleOffset + 5, ' ', 25);
  EXPECT_EQ(ParseTagRecord(zeros, kCp).title, ParseTagRecord(spaces, kCp).title);
  TagRecord split = Record("TAG", std::string_view("Ab\0Cd", 5));
  EXPECT_EQ(ParseTagRecord(split, kCp).title, "AbCd");
}

TEST(TagRecordParse, TrackNumberOfVersion11) {
  TagRecord rec = Record("TAG");
  std::memcpy(rec.data() + record::kCommentOffset, "comment", 7);
  rec[record::kV11ZeroOffset] = 0;
  rec[record::kTrackOffset] = 12;
  TagFields f = ParseTagRecord(rec, kCp);
  EXPECT_EQ(f.comment, "comment");
  EXPECT_EQ(f.track, 12);

  // A full 30-byte comment has no track.
  std::memset(rec.data() + record::kCommentOffset, 'c', 30);
  f = ParseTagRecord(rec, kCp);
  EXPECT_EQ(f.comment, std::string(30, 'c'));
  EXPECT_EQ(f.track, std::nullopt);

  // Zero at byte 29 and zero track: no track either.
  rec[record::kV11ZeroOffset] = 0;
  rec[record::kTrackOffset] = 0;
  f = ParseTagRecord(rec, kCp);
  EXPECT_EQ(f.comment, std::string(28, 'c'));
  EXPECT_EQ(f.track, std::nullopt);
}

TEST(TagRecordParse, GenreByteAndName) {
  TagRecord rec = Record("TAG");
  const std::pair<std::uint8_t, std::string_view> cases[] = {
      {0, "Blues"}, {17, "Rock"}, {125, "Dance Hall"}, {126, ""}, {255, ""}};
  for (auto [byte, name] : cases) {
    rec[record::kGenreOffset] = byte;
    const TagFields f = ParseTagRecord(rec, kCp);
    EXPECT_EQ(f.genre, name);
    EXPECT_EQ(f.genre_byte, byte);
  }
}

TEST(TagRecordRender, CutsPadsAndKeepsLayout) {
  TagFields f;
  f.marker = "TAG";
  f.title = std::string(40, 'T');
  f.artist = "Artist  ";
  f.album = "";
  f.year = "19999";
  f.comment = "c";
  f.genre = "rock";
  const TagRecord rec = RenderTagRecord(f, kCp);
  EXPECT_EQ(Text(rec, 0, 3), "TAG");
  EXPECT_EQ(Text(rec, record::kTitleOffset, 30), std::string(30, 'T'));
  EXPECT_EQ(Text(rec, record::kArtistOffset, 30), "Artist" + std::string(24, ' '));
  EXPECT_EQ(Text(rec, record::kAlbumOffset, 30), std::string(30, ' '));
  EXPECT_EQ(Text(rec, record::kYearOffset, 4), "1999");
  EXPECT_EQ(Text(rec, record::kCommentOffset, 30), "c" + std::string(29, ' '));
  EXPECT_EQ(rec[record::kGenreOffset], 17);
}

TEST(TagRecordRender, MarkerOtherThanTagBecomesTag) {
  TagFields f;
  f.marker = "tag";
  EXPECT_EQ(Text(RenderTagRecord(f, kCp), 0, 3), "tag");
  for (std::string_view m : {"", "ID3", "xyz"}) {
    f.marker = m;
    EXPECT_EQ(Text(RenderTagRecord(f, kCp), 0, 3), "TAG") << m;
  }
}

TEST(TagRecordRender, GenreFromNameOrTheByteRead) {
  TagFields f;
  f.genre = "No Such Genre";
  f.genre_byte = 200;
  EXPECT_EQ(RenderTagRecord(f, kCp)[record::kGenreOffset], 0);
  f.genre = "";
  EXPECT_EQ(RenderTagRecord(f, kCp)[record::kGenreOffset], 200);
  f.genre_byte = 0;
  EXPECT_EQ(RenderTagRecord(f, kCp)[record::kGenreOffset], 0);
}

TEST(TagRecordRoundTrip, EveryFieldTrackAndGenreByteSurvive) {
  TagFields f;
  f.marker = "TAG";
  f.title = "Play Dead";
  f.artist = "Björk";
  f.album = "The Young Americans";
  f.year = "1993";
  f.comment = std::string(28, 'x');
  f.track = 255;
  f.genre_byte = 254;
  const TagFields back = ParseTagRecord(RenderTagRecord(f, kCp), kCp);
  EXPECT_EQ(back.title, f.title);
  EXPECT_EQ(back.artist, "Björk");
  EXPECT_EQ(back.comment, f.comment);
  EXPECT_EQ(back.track, 255);
  EXPECT_EQ(back.genre_byte, 254);
  EXPECT_EQ(back.genre, "");
}

TEST(TagRecordRender, CommentCutTo28WithTrack) {
  TagFields f;
  f.comment = std::string(30, 'y');
  f.track = 7;
  const TagRecord rec = RenderTagRecord(f, kCp);
  EXPECT_EQ(Text(rec, record::kCommentOffset, 28), std::string(28, 'y'));
  EXPECT_EQ(rec[record::kV11ZeroOffset], 0);
  EXPECT_EQ(rec[record::kTrackOffset], 7);
}

} // namespace
} // namespace id3
