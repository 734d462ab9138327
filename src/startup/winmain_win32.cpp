#include "startup/guithread_win32.h"
#include "startup/startup_win32.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  const id3::startup::ComApartment com;
  const id3::startup::MainResult started = id3::startup::Main();
  return started.window ? id3::startup::RunMessageLoop(started.window) : started.exit_code;
}
