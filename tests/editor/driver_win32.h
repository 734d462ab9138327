// Drives the real editor program from the test process as a user would: it
// starts id3edit.exe, reads its window's controls, and presses keys and mouse
// buttons through SendInput, which the system delivers like a user's to the
// window in front. Waits are for conditions, bounded only so that a broken
// program fails a test instead of hanging it.
#pragma once

#include "windriver_win32.h"

#include <windows.h>

#include <functional>
#include <future>
#include <string>

namespace id3::test {

bool WaitUntil(const std::function<bool()>& condition);
// A key pressed and released, a modifier (VK_SHIFT...) held around it.
void Press(UINT vk, UINT modifier = 0);
void ClickAt(POINT screen);
POINT Centre(HWND window);

class Editor {
public:
  explicit Editor(const std::wstring& arguments);
  ~Editor();
  Editor(const Editor&) = delete;
  Editor& operator=(const Editor&) = delete;

  // The main window once it is visible, and then with the focus in the album
  // box; a top-level window of the program's by class, such as a message box.
  HWND Window();
  bool WaitReady();
  HWND TopLevel(const wchar_t* cls) const;

  HWND Control(int id);
  std::wstring Text(int id) { return TextOf(Control(id)); }
  std::wstring GenreText();
  bool Checked(int id);
  bool WaitForFocus(int id);
  // A click on the control; the future is ready once its handler has run,
  // after any message box it shows has been answered.
  std::future<void> Click(int id);
  // A copy of the bytes in the program's memory, for a message's pointer.
  LPARAM Copy(const void* data, std::size_t size);

  bool Running() const;
  bool WaitForExit();
  DWORD ExitCode() const;

private:
  PROCESS_INFORMATION process_{};
  HWND window_ = nullptr;
};

} // namespace id3::test
