#include "startup/startup.h"

#include "editor/form1.h"
#include "startup/modtools.h"
#include "startup/options.h"
#include "startup/shellverb.h"
#include "tools/process.h"

namespace id3::startup {

MainResult Main() {
  const Choice choice = ChooseAction(win::ArgumentText());
  switch (choice.action) {
  case Action::Register: {
    const UniqueHKey user_classes = OpenUserClasses();
    const Outcome outcome = RunRegister(HKEY_CLASSES_ROOT, user_classes.get(),
                                        VerbCommand(AppDir(), ExeFileName()), choice.quiet);
    return {false, ExitCodeFor(outcome)};
  }
  case Action::Unregister: {
    const UniqueHKey user_classes = OpenUserClasses();
    return {false, ExitCodeFor(RunUnregister(HKEY_CLASSES_ROOT, user_classes.get(), choice.quiet))};
  }
  case Action::OpenWindow: break;
  }
  ShowForm1();
  return {true, 0};
}

} // namespace id3::startup
