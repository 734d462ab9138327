// What the program's GUI thread holds while the editor window is open: COM in
// a single-threaded apartment and the message loop. Windows builds only.
#pragma once

#include <windows.h>

namespace id3::startup {

// COM in a single-threaded apartment for the thread, as the shell asks of a
// caller of ShellExecute (a player's verb may be a COM object) and as the
// accessibility annotations need; left when the object goes.
class ComApartment {
public:
  ComApartment();
  ~ComApartment();
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

private:
  bool initialised_;
};

// Runs the thread's message loop until the window is gone, with the dialog
// manager's keys (Tab, Esc, Enter) for it; the exit code it posted.
int RunMessageLoop(HWND dialog);

} // namespace id3::startup
