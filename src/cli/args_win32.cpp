#include "cli/args.h"

#include "tools/wintext_win32.h"

#include <windows.h>

#include <shellapi.h>

#include <memory>

namespace id3::cli {
namespace {

struct LocalFreer {
  void operator()(LPWSTR* p) const { LocalFree(p); }
};

} // namespace

// argv holds the arguments in the ANSI code page, which loses every character
// outside it; the UTF-16 command line has them all.
std::vector<std::string> Utf8Arguments(int, char**) {
  int count = 0;
  std::unique_ptr<LPWSTR, LocalFreer> wide(CommandLineToArgvW(GetCommandLineW(), &count));
  std::vector<std::string> args;
  for (int i = 0; wide && i < count; ++i) args.push_back(win::Narrow(wide.get()[i]));
  return args;
}

// GetConsoleOutputCP gives 0 without a console; then there is nothing to set
// or put back.
Utf8Console::Utf8Console() : saved_(GetConsoleOutputCP()) {
  if (saved_ != 0) SetConsoleOutputCP(CP_UTF8);
}

Utf8Console::~Utf8Console() {
  if (saved_ != 0) SetConsoleOutputCP(saved_);
}

} // namespace id3::cli
