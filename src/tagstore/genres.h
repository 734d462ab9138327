// The ID3v1 genre table: 126 names whose position is the record's genre byte.
// A genre travels through the program as its name and becomes a number only
// where the tag meets the file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace id3 {

constexpr std::int16_t kGenreCount = 126;

// Fills the table; the three functions below call it on first use.
void BuildGenreTable();

// The name of genre number index, or the empty text for a number that has
// none (negative, or above 125).
std::string GenreName(std::int16_t index);

// The first table position whose name equals name ignoring letter case;
// nothing when none does. Nothing is trimmed and digits are not numbers.
std::optional<std::int16_t> FindGenre(std::string_view name);

// FindGenre, with 0 ("Blues") for a name that is not in the table: the record
// has no byte for "unknown", and the editor's list always shows an entry.
std::int16_t GenreIndex(std::string_view name);

// Anything that offers AddItem(text): the editor's genre list, a test's vector.
template <class List>
concept GenreList = requires(List& list, const std::string& text) {
  list.AddItem(text);
};

// Appends the 126 names in table order. A name that cannot be added is left
// out and the rest are still added.
template <GenreList List> void FillGenreList(List& list) {
  for (std::int16_t i = 0; i < kGenreCount; ++i) {
    try {
      list.AddItem(GenreName(i));
    } catch (...) {
      continue;
    }
  }
}

} // namespace id3
