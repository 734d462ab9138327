#include "tools/process_win32.h"

#include "tools/wintext_win32.h"

#include <windows.h>

#include <string_view>

namespace id3::win {

std::string ArgumentText() {
  std::wstring_view line = GetCommandLineW();
  // The program's path comes first, quoted or not, as Windows parses it.
  std::size_t i = 0;
  if (!line.empty() && line[0] == L'"') {
    const std::size_t close = line.find(L'"', 1);
    i = close == std::wstring_view::npos ? line.size() : close + 1;
  } else {
    while (i < line.size() && line[i] != L' ' && line[i] != L'\t') ++i;
  }
  while (i < line.size() && (line[i] == L' ' || line[i] == L'\t')) ++i;
  return Narrow(line.substr(i));
}

} // namespace id3::win
