// Small text tests shared by the tag store, the command line, the start-up and
// the editor. ASCII letters only: the names, options and extensions they
// compare are ASCII, and a byte of a UTF-8 sequence is never an ASCII letter,
// so byte-wise comparison of UTF-8 text is exact.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace id3::text {

char AsciiLower(char c);

// a and b equal when ASCII letters are compared without their case.
bool EqualIgnoringCase(std::string_view a, std::string_view b);

// How many ASCII digits the text starts with.
std::size_t DigitRun(std::string_view text);

// The text as a decimal number: digits only, nothing around them, and no more
// than 32 bits hold.
std::optional<std::uint32_t> ParseNumber(std::string_view text);

// True when path ends in ".mp3" in any letter case.
bool HasMp3Extension(std::string_view path);

// An option in an argument text: a whole word in any letter case, with blanks
// (spaces, tabs) or the text's ends on both sides, and no double quote in the
// word; blanks inside double quotes belong to their word. So a quoted path
// such as "C:\Music\Live -noplay set.mp3" never holds an option, and neither
// does an unquoted "C:\Music\pre-registered.mp3".
bool HasOptionWord(std::string_view text, std::string_view option);

// The text without every whole-word occurrence of option and the blanks
// directly in front of it; found tells whether there was one. With
// kAfterBlank a word at the very start of the text is not the option: an
// option that follows a path needs the blank that separates them.
enum class OptionAt { kAnyWord, kAfterBlank };
struct OptionTaken {
  bool found = false;
  std::string rest;
};
OptionTaken TakeOptionWord(std::string_view text, std::string_view option,
                           OptionAt at = OptionAt::kAnyWord);

} // namespace id3::text
