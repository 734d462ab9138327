// The code pages an ID3v1 tag is tried in: Windows' ANSI code pages and
// UTF-8, each with the name JSON and --codepage use and the name a menu shows.
#pragma once

#include <span>
#include <string_view>

namespace id3 {

struct CandidateCodePage {
  unsigned number;          // Windows' number (65001 for UTF-8)
  std::string_view name;    // "windows-1251", "cp932", "utf-8": CodePage::Named knows it everywhere
  std::string_view display; // "Cyrillic (Windows-1251)"
};

// In the fixed order in which a tie between candidates is broken: Western
// European first, the other single-byte code pages by number, then the
// double-byte ones by number, UTF-8 last.
std::span<const CandidateCodePage> CandidateCodePages();

// The candidate a code page name stands for, by any name the platforms give
// it: "1251", "cp1251", "windows-1251" in any letter case, "utf-8", "utf8",
// "65001"; nothing for a code page that is no candidate.
const CandidateCodePage* FindCandidate(std::string_view name);

} // namespace id3
