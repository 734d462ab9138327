#include "startup/options.h"

#include "tools/text.h"

namespace id3::startup {

Choice ChooseAction(std::string_view argument_text) {
  using text::HasOptionWord;
  Choice choice;
  if (HasOptionWord(argument_text, "-register"))
    choice.action = Action::Register;
  else if (HasOptionWord(argument_text, "-unregister"))
    choice.action = Action::Unregister;
  else
    return choice;
  choice.quiet = HasOptionWord(argument_text, "-quiet");
  choice.user_only = HasOptionWord(argument_text, "-user");
  return choice;
}

} // namespace id3::startup
