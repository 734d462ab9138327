#include "editor/form1_win32.h"
#include "startup/startup_win32.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  const id3::startup::MainResult started = id3::startup::Main();
  return started.window_shown ? id3::RunMessageLoop() : started.exit_code;
}
