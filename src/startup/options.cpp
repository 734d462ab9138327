#include "startup/options.h"

#include <algorithm>

namespace id3::startup {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  return std::ranges::equal(a, b, {}, AsciiLower, AsciiLower);
}

} // namespace

bool HasOptionWord(std::string_view text, std::string_view option) {
  std::size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && IsBlank(text[i])) ++i;
    const std::size_t start = i;
    bool quoted = false;
    bool in_quotes = false;
    // A blank inside double quotes belongs to the word.
    while (i < text.size() && (in_quotes || !IsBlank(text[i]))) {
      if (text[i] == '"') {
        quoted = true;
        in_quotes = !in_quotes;
      }
      ++i;
    }
    if (!quoted && i > start && EqualIgnoringCase(text.substr(start, i - start), option))
      return true;
  }
  return false;
}

Choice ChooseAction(std::string_view argument_text) {
  Choice choice;
  if (HasOptionWord(argument_text, "-register"))
    choice.action = Action::Register;
  else if (HasOptionWord(argument_text, "-unregister"))
    choice.action = Action::Unregister;
  else
    return choice;
  choice.quiet = HasOptionWord(argument_text, "-quiet");
  return choice;
}

} // namespace id3::startup
