// How RegGetString turns a string value's data into text.
#pragma once

#include <cstddef>
#include <string_view>

namespace id3::startup {

// Leading blanks dropped, then cut before the first NUL;
// blanks at the end of the text stay.
template <class Char> std::basic_string_view<Char> CleanRegText(std::basic_string_view<Char> text) {
  const std::size_t first = text.find_first_not_of(Char(' '));
  if (first == text.npos) return {};
  text.remove_prefix(first);
  return text.substr(0, text.find(Char(0)));
}

} // namespace id3::startup
