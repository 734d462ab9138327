// How RegGetString turns a value's data into text, by the value's type.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace id3::startup {

// A 32-bit number (type 4) as decimal text of at least three digits: "007".
// Data shorter than four bytes counts the missing high bytes as zero.
std::string FormatRegNumber(std::span<const std::uint8_t> data);

// Raw bytes (type 3) as two upper-case hex digits each, no separators.
std::string FormatRegBytes(std::span<const std::uint8_t> data);

// The string types: leading blanks dropped, then cut before the first NUL;
// blanks at the end of the text stay.
template <class Char> std::basic_string_view<Char> CleanRegText(std::basic_string_view<Char> text) {
  const std::size_t first = text.find_first_not_of(Char(' '));
  if (first == text.npos) return {};
  text.remove_prefix(first);
  return text.substr(0, text.find(Char(0)));
}

} // namespace id3::startup
