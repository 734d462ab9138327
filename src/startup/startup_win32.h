// Module Startup: the program's first code. Windows builds only.
#pragma once

namespace id3::startup {

struct MainResult {
  // The editor window is open: the process lives in the message loop now.
  bool window_shown = false;
  // The process's exit code when no window was shown.
  int exit_code = 0;
};

// Reads the argument text and registers the verb, removes it, or shows the
// editor window, in that order of precedence.
MainResult Main();

} // namespace id3::startup
