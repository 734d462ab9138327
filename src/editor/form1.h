// The editor window.
#pragma once

namespace id3 {

// Creates the program-wide editor window if there is none, loads it (which
// reads the argument text) and shows it.
void ShowForm1();

// Runs the GUI thread's message loop until the editor window is gone.
int RunMessageLoop();

} // namespace id3
