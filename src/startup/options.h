// What the argument text asks the program to do at start-up.
#pragma once

#include <string_view>

namespace id3::startup {

enum class Action { Register, Unregister, OpenWindow };

struct Choice {
  Action action = Action::OpenWindow;
  // "-quiet" beside an option: no message box, only the exit code tells the
  // outcome, so that an unattended installer is not held up by a dialog.
  bool quiet = false;
};

// True when option stands in text as a whole word in any letter case: blanks
// (spaces, tabs) or the text's ends on both sides, and no double quote in the
// word. A path such as "C:\Music\pre-registered.mp3" therefore never counts
// as an option, quoted or not.
bool HasOptionWord(std::string_view text, std::string_view option);

// "-register" first, then "-unregister", so a text with both registers;
// anything else opens the window.
Choice ChooseAction(std::string_view argument_text);

} // namespace id3::startup
