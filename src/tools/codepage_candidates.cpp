#include "tools/codepage_candidates.h"

#include "tools/text.h"

#include <charconv>
#include <optional>

namespace id3 {
namespace {

constexpr unsigned kUtf8Number = 65001;

// The display names follow those Windows gives the code pages in its own
// encoding menus.
constexpr CandidateCodePage kCandidates[] = {
    {1252, "windows-1252", "Western European (Windows-1252)"},
    {1250, "windows-1250", "Central European (Windows-1250)"},
    {1251, "windows-1251", "Cyrillic (Windows-1251)"},
    {1253, "windows-1253", "Greek (Windows-1253)"},
    {1254, "windows-1254", "Turkish (Windows-1254)"},
    {1255, "windows-1255", "Hebrew (Windows-1255)"},
    {1256, "windows-1256", "Arabic (Windows-1256)"},
    {1257, "windows-1257", "Baltic (Windows-1257)"},
    {1258, "windows-1258", "Vietnamese (Windows-1258)"},
    {874, "windows-874", "Thai (Windows-874)"},
    {932, "cp932", "Japanese (Shift-JIS, 932)"},
    {936, "cp936", "Chinese Simplified (GBK, 936)"},
    {949, "cp949", "Korean (Unified Hangul, 949)"},
    {950, "cp950", "Chinese Traditional (Big5, 950)"},
    {kUtf8Number, "utf-8", "Unicode (UTF-8)"},
};

// The number a name gives after an optional "cp" or "windows-".
std::optional<unsigned> NumberIn(std::string_view name) {
  for (const std::string_view prefix : {"cp", "windows-"}) {
    if (text::EqualIgnoringCase(name.substr(0, prefix.size()), prefix)) {
      name.remove_prefix(prefix.size());
      break;
    }
  }
  unsigned number = 0;
  const auto [end, ec] = std::from_chars(name.data(), name.data() + name.size(), number);
  if (ec != std::errc() || end != name.data() + name.size()) return std::nullopt;
  return number;
}

} // namespace

std::span<const CandidateCodePage> CandidateCodePages() { return kCandidates; }

const CandidateCodePage* FindCandidate(std::string_view name) {
  const std::optional<unsigned> number =
      text::EqualIgnoringCase(name, "utf-8") || text::EqualIgnoringCase(name, "utf8")
          ? kUtf8Number
          : NumberIn(name);
  for (const CandidateCodePage& c : kCandidates)
    if (c.number == number) return &c;
  return nullptr;
}

} // namespace id3
