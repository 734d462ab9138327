#include "tools/text.h"

#include <algorithm>
#include <charconv>

namespace id3::text {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Calls word(begin, end) for each word of text that holds no double quote.
template <class OnWord> void ForEachUnquotedWord(std::string_view text, OnWord word) {
  std::size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && IsBlank(text[i])) ++i;
    const std::size_t start = i;
    bool quoted = false;
    bool in_quotes = false;
    while (i < text.size() && (in_quotes || !IsBlank(text[i]))) {
      if (text[i] == '"') {
        quoted = true;
        in_quotes = !in_quotes;
      }
      ++i;
    }
    if (!quoted && i > start) word(start, i);
  }
}

} // namespace

std::size_t DigitRun(std::string_view text) {
  std::size_t n = 0;
  while (n < text.size() && text[n] >= '0' && text[n] <= '9') ++n;
  return n;
}

std::optional<std::uint32_t> ParseNumber(std::string_view text) {
  std::uint32_t n{};
  const char* end = text.data() + text.size();
  const auto [stop, ec] = std::from_chars(text.data(), end, n);
  if (ec != std::errc() || stop != end) return std::nullopt;
  return n;
}

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  return std::ranges::equal(a, b, {}, AsciiLower, AsciiLower);
}

bool HasMp3Extension(std::string_view path) {
  static constexpr std::string_view kExtension = ".mp3";
  return path.size() >= kExtension.size() &&
         EqualIgnoringCase(path.substr(path.size() - kExtension.size()), kExtension);
}

bool HasOptionWord(std::string_view text, std::string_view option) {
  return TakeOptionWord(text, option).found;
}

OptionTaken TakeOptionWord(std::string_view text, std::string_view option, OptionAt at) {
  OptionTaken taken;
  std::size_t kept_from = 0;
  ForEachUnquotedWord(text, [&](std::size_t begin, std::size_t end) {
    if (at == OptionAt::kAfterBlank && begin == 0) return;
    if (!EqualIgnoringCase(text.substr(begin, end - begin), option)) return;
    taken.found = true;
    std::size_t cut = begin;
    while (cut > kept_from && IsBlank(text[cut - 1])) --cut;
    taken.rest.append(text.substr(kept_from, cut - kept_from));
    // An option in front of everything kept takes the blanks after it instead.
    if (taken.rest.empty())
      while (end < text.size() && IsBlank(text[end])) ++end;
    kept_from = end;
  });
  taken.rest.append(text.substr(kept_from));
  return taken;
}

} // namespace id3::text
