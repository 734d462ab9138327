// Module Startup: the program's first code. Windows builds only.
#pragma once

#include <windows.h>

namespace id3::startup {

struct MainResult {
  // The editor window, when it is open: the process lives in the message
  // loop now.
  HWND window = nullptr;
  // The process's exit code when no window was shown.
  int exit_code = 0;
};

// Reads the argument text and registers the verb, removes it, or shows the
// editor window, in that order of precedence.
MainResult Main();

} // namespace id3::startup
