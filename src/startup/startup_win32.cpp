#include "startup/startup_win32.h"

#include "editor/editor_window_win32.h"
#include "startup/options.h"
#include "startup/regpath_win32.h"
#include "startup/shellverb_win32.h"
#include "tools/process_win32.h"

namespace id3::startup {

MainResult Main() {
  const Choice choice = ChooseAction(win::ArgumentText());
  switch (choice.action) {
  case Action::Register: {
    const UniqueHKey user_classes = OpenUserClasses();
    const Outcome outcome = RunRegister(HKEY_CLASSES_ROOT, user_classes.get(),
                                        VerbCommand(AppDir(), ExeFileName()), choice);
    return {nullptr, ExitCodeFor(outcome)};
  }
  case Action::Unregister: {
    const UniqueHKey user_classes = OpenUserClasses();
    return {nullptr, ExitCodeFor(RunUnregister(HKEY_CLASSES_ROOT, user_classes.get(), choice))};
  }
  case Action::OpenWindow: break;
  }
  return {ShowEditorWindow(), 0};
}

} // namespace id3::startup
