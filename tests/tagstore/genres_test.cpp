#include "tagstore/genres.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace id3 {
namespace {

TEST(Genres, NamesByNumber) {
  EXPECT_EQ(GenreName(0), "Blues");
  EXPECT_EQ(GenreName(17), "Rock");
  EXPECT_EQ(GenreName(67), "Psychadelic");
  EXPECT_EQ(GenreName(79), "Hard Rock");
  EXPECT_EQ(GenreName(80), "Folk");
  EXPECT_EQ(GenreName(125), "Dance Hall");
  for (std::int16_t none : {std::int16_t{126}, std::int16_t{255}, std::int16_t{-1},
                            std::int16_t{-32768}, std::int16_t{32767}})
    EXPECT_EQ(GenreName(none), "") << none;
}

TEST(Genres, IndexIgnoresCaseOnly) {
  EXPECT_EQ(GenreIndex("BLUES"), 0);
  EXPECT_EQ(GenreIndex("rock & roll"), 78);
  EXPECT_EQ(GenreIndex("Dance Hall"), 125);
  EXPECT_EQ(GenreIndex("psychadelic"), 67);
  // No spelling fixes, no trimming, no partial match, no numbers.
  EXPECT_EQ(GenreIndex("Psychedelic"), 0);
  EXPECT_EQ(GenreIndex(""), 0);
  EXPECT_EQ(GenreIndex(" Rock"), 0);
  EXPECT_EQ(GenreIndex("Rock "), 0);
  EXPECT_EQ(GenreIndex("Roc"), 0);
  EXPECT_EQ(GenreIndex("17"), 0);
}

TEST(Genres, EveryNameRoundTripsAndIsUnique) {
  for (std::int16_t i = 0; i < kGenreCount; ++i) {
    EXPECT_FALSE(GenreName(i).empty());
    EXPECT_EQ(GenreIndex(GenreName(i)), i) << GenreName(i);
  }
}

struct VectorList {
  std::vector<std::string> items;
  void AddItem(const std::string& s) { items.push_back(s); }
};

// A list that refuses one item: the others must still arrive.
struct PickyList {
  std::vector<std::string> items;
  void AddItem(const std::string& s) {
    if (s == "Jazz") throw std::runtime_error("refused");
    items.push_back(s);
  }
};

TEST(Genres, FillAppendsTheTableInOrder) {
  VectorList list;
  FillGenreList(list);
  ASSERT_EQ(list.items.size(), 126u);
  EXPECT_EQ(list.items.front(), "Blues");
  EXPECT_EQ(list.items.back(), "Dance Hall");
  FillGenreList(list);
  ASSERT_EQ(list.items.size(), 252u);
  EXPECT_EQ(list.items[126], "Blues");

  PickyList picky;
  FillGenreList(picky);
  EXPECT_EQ(picky.items.size(), 125u);
  EXPECT_EQ(picky.items[8], "Metal");
}

} // namespace
} // namespace id3
