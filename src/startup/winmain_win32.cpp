#include "editor/form1.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  id3::ShowForm1();
  return id3::RunMessageLoop();
}
