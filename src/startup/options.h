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
  // "-user" beside an option: only the current user's classes, never the
  // machine-wide ones, as a per-user installer wants.
  bool user_only = false;
};

// Options are whole words outside double quotes, in any letter case
// (text::HasOptionWord). "-register" first, then "-unregister", so a text with
// both registers; anything else opens the window.
Choice ChooseAction(std::string_view argument_text);

} // namespace id3::startup
