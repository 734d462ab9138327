// From what a tag holds to what shows and what an ID3v1 tag gets: the genre
// frame's forms, the choice of frames and comment, year, track and genre.
#include "id3v2/fields.h"
#include "id3v2/to_id3v1.h"

#include <gtest/gtest.h>

namespace id3::id3v2 {
namespace {

using Values = std::vector<std::string>;

// A tag holding the given text frames and comments.
Tag Holding(std::initializer_list<std::pair<TextFrame, Values>> texts,
            std::vector<Comment> comments = {}) {
  Tag tag;
  for (const auto& [frame, values] : texts) tag.texts[static_cast<std::size_t>(frame)] = values;
  tag.comments = std::move(comments);
  return tag;
}

TEST(Id3v2Genre, FormsOfTheGenreFrame) {
  const struct {
    Values tcon;
    std::optional<std::string> shown;
    std::optional<std::uint8_t> byte;
  } cases[] = {
      {{"(17)"}, "Rock", 17},
      {{"(17)Eurodance"}, "Rock / Eurodance", 17},
      {{"(17)Rock"}, "Rock", 17},
      {{"(17)(18)"}, "Rock / Techno", 17},
      {{"17"}, "Rock", 17},
      {{"Eurodance", "17"}, "Eurodance / Rock", 54}, // 2.4's list
      {{"eUrOdAnCe"}, "eUrOdAnCe", 54},
      {{"Other"}, "Other", 12},
      {{"RX"}, "Remix", std::nullopt},
      {{"(CR)"}, "Cover", std::nullopt},
      {{"(RX)(17)"}, "Remix / Rock", 17},
      {{"((17) with parentheses"}, "(17) with parentheses", std::nullopt},
      {{"(abc)Jazz"}, "(abc)Jazz", std::nullopt},
      {{"(17"}, "(17", std::nullopt},
      {{"(125)"}, "Dance Hall", 125},
      {{"(126)"}, "(126)", std::nullopt},
      {{"255"}, "(255)", std::nullopt},
      {{"(99999999999)"}, "(4294967295)", std::nullopt},
      {{"(4294967294)"}, "(4294967294)", std::nullopt}, // the largest but one stays itself
      {{"Psychedelic"}, "Psychedelic", std::nullopt}, // the table spells it "Psychadelic"
      {{"Unknown", "Rock"}, "Unknown / Rock", 17},
  };
  for (const auto& c : cases) {
    const Tag tag = Holding({{TextFrame::kGenre, c.tcon}});
    EXPECT_EQ(ShownFields(tag).genre, c.shown) << c.tcon[0];
    EXPECT_EQ(ProposeId3v1(tag).genre, c.byte) << c.tcon[0];
  }
}

TEST(Id3v2Fields, WhichFramesFillEachField) {
  const Comment blank{"eng", "", {"Blank"}};
  const Comment v1{"XXX", "ID3v1 Comment", {"From v1"}};
  const Comment itunes{"eng", "iTunNORM", {" 0000"}};
  const Comment cddb{"eng", "iTunes_CDDB_1", {"9D0A"}};
  using F = TextFrame;
  const struct {
    const char* what;
    Tag tag;
    Fields shown;
    Proposal want;
  } cases[] = {
      {"every field, several values joined",
       Holding({{F::kTitle, {"Ωmega", "Two"}},
                {F::kArtist, {"A", "B"}},
                {F::kBand, {"Band"}},
                {F::kAlbum, {"Al"}},
                {F::kRecorded, {"2004-05-06"}},
                {F::kTrack, {"3/12"}},
                {F::kGenre, {"(17)Eurodance"}}},
               {itunes, blank}),
       {"Ωmega / Two", "A / B", "Al", "2004-05-06", "Blank", "3/12", "Rock / Eurodance"},
       {"Ωmega / Two", "A / B", "Al", "Blank", "2004", 3, 17, {}}},
      {"nothing: every field kept", Holding({}), {}, {}},
      {"the band stands in for the artist; the ID3v1 comment comes first",
       Holding({{F::kBand, {"Band"}}}, {cddb, blank, v1}),
       {.artist = "Band", .comment = "From v1"},
       {.artist = "Band", .comment = "From v1"}},
      {"\"ID3v1.1 Comment\" too; iTunes' comments never; one without text passed over",
       Holding({}, {Comment{"eng", "ID3v1.1 comment", {}}, itunes,
                    Comment{"", "id3V1.1 Comment", {"x"}}}),
       {.comment = "x"},
       {.comment = "x"}},
      {"no comment to take",
       Holding({}, {itunes, cddb, Comment{"eng", "ID3v1.1Comment", {"y"}},
                    Comment{"eng", "ID3v1. Comment", {"y"}},
                    Comment{"eng", "ID3v1.1 x Comment", {"y"}}}),
       {},
       {}},
      {"the year: TDRC without one, then TYER",
       Holding({{F::kRecorded, {"unknown"}}, {F::kYear, {"1999"}}, {F::kReleased, {"2001"}}}),
       {.year = "unknown"},
       {.year = "1999"}},
      {"TDRL, then TDOR",
       Holding({{F::kReleased, {"201"}}, {F::kOriginalYear, {"1969-01"}}}),
       {.year = "201"},
       {.year = "1969"}},
      {"no year of four digits: kept, with a warning",
       Holding({{F::kYear, {"'99", "1999"}}, {F::kOriginalYear, {"x"}}}),
       {.year = "'99 / 1999"},
       {.warnings = {{Field::kYear, Reason::kNoYear, "'99 / 1999"}}}},
      {"track 255", Holding({{F::kTrack, {" 255/300"}}}), {.track = " 255/300"}, {.track = 255}},
      {"a genre the table has not: kept, never \"Other\"",
       Holding({{F::kGenre, {"RX", "Psychedelic"}}}),
       {.genre = "Remix / Psychedelic"},
       {.warnings = {{Field::kGenre, Reason::kGenreNotInTable, "RX / Psychedelic"}}}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ShownFields(c.tag), c.shown) << c.what;
    EXPECT_EQ(ProposeId3v1(c.tag), c.want) << c.what;
  }
  // Tracks that write no track, each with its warning: 300 of many digits too.
  for (const auto& [track, reason] : {std::pair{"256", Reason::kTrackAbove255},
                                      {"0000300000000000", Reason::kTrackAbove255},
                                      {"0/12", Reason::kTrackZero},
                                      {"A1", Reason::kTrackNotNumber}}) {
    EXPECT_EQ(ProposeId3v1(Holding({{F::kTrack, {track}}})),
              (Proposal{.track = 0, .warnings = {{Field::kTrack, reason, track}}}))
        << track;
  }
}

} // namespace
} // namespace id3::id3v2
