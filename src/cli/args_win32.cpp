#include "cli/args.h"

#include "tools/process_win32.h"

#include <windows.h>

namespace id3::cli {

// argv holds the arguments in the ANSI code page, which loses every character
// outside it; the UTF-16 command line has them all.
std::vector<std::string> Utf8Arguments(int, char**) { return win::CommandLineArguments(); }

// GetConsoleOutputCP gives 0 without a console; then there is nothing to set
// or put back.
Utf8Console::Utf8Console() : saved_(GetConsoleOutputCP()) {
  if (saved_ != 0) SetConsoleOutputCP(CP_UTF8);
}

Utf8Console::~Utf8Console() {
  if (saved_ != 0) SetConsoleOutputCP(saved_);
}

} // namespace id3::cli
