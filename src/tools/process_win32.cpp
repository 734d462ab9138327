#include "tools/process_win32.h"

#include "tools/wintext_win32.h"

#include <windows.h>

#include <shellapi.h>

#include <memory>
#include <string_view>

namespace id3::win {
namespace {

// The process's command line in UTF-16, which holds every character of it;
// the ANSI forms lose those outside the code page.
std::wstring_view CommandLine() { return GetCommandLineW(); }

struct LocalFreer {
  void operator()(LPWSTR* p) const { LocalFree(p); }
};

} // namespace

std::string ArgumentText() {
  const std::wstring_view line = CommandLine();
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

std::vector<std::string> CommandLineArguments() {
  int count = 0;
  const std::unique_ptr<LPWSTR, LocalFreer> wide(
      CommandLineToArgvW(std::wstring(CommandLine()).c_str(), &count));
  std::vector<std::string> args;
  for (int i = 0; wide && i < count; ++i) args.push_back(Narrow(wide.get()[i]));
  return args;
}

} // namespace id3::win
