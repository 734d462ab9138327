#include "startup/shellverb_win32.h"

#include "editor/form_model.h"
#include "tools/wintext_win32.h"

#include <shlobj.h>

#include <array>
#include <string>

namespace id3::startup {
namespace {

bool WriteVerb(HKEY classes, std::string file_class, std::string_view command) {
  if (file_class.empty()) {
    file_class = kDefaultClass;
    if (RegWriteValue(classes, kExtensionKey, "", REG_SZ, file_class) != ERROR_SUCCESS) return false;
  }
  return RegWriteValue(classes, CommandKeyPath(file_class), "", REG_SZ, std::string(command)) ==
         ERROR_SUCCESS;
}

bool VerbExists(HKEY classes, std::string_view file_class) {
  return !file_class.empty() && OpenRegKey(classes, VerbKeyPath(file_class), KEY_READ) != nullptr;
}

void Show(Outcome outcome) {
  const Message message = MessageFor(outcome);
  const UINT icon = message.icon == MessageIcon::Information ? MB_ICONINFORMATION : MB_ICONSTOP;
  MessageBoxW(nullptr, win::Widen(message.text).c_str(), win::Widen(form::kAppTitle).c_str(),
              MB_OK | icon);
}

Outcome Finish(Outcome outcome, bool quiet) {
  SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
  if (!quiet) Show(outcome);
  return outcome;
}

} // namespace

Placement RegisterVerb(HKEY machine_classes, HKEY user_classes, std::string_view command) {
  const std::string file_class = RegGetString(machine_classes, kExtensionKey, "");
  if (WriteVerb(machine_classes, file_class, command)) return Placement::MachineWide;
  if (user_classes && WriteVerb(user_classes, file_class, command)) return Placement::ForUser;
  return Placement::Nowhere;
}

bool UnregisterVerb(HKEY machine_classes, HKEY user_classes) {
  // The user's ".mp3" may name a class of its own.
  const std::array classes{RegGetString(machine_classes, kExtensionKey, ""),
                           user_classes ? RegGetString(user_classes, kExtensionKey, "")
                                        : std::string()};
  // The user's keys go first: where both roots hold the verb, the merged view
  // of HKEY_CLASSES_ROOT shows the user's copy, and deleting through it must
  // then reach the machine-wide one.
  const std::array roots{user_classes, machine_classes};
  for (HKEY root : roots) {
    if (!root) continue;
    for (const std::string& file_class : classes) {
      if (file_class.empty()) continue;
      RegDeleteKeyPath(root, CommandKeyPath(file_class));
      RegDeleteKeyPath(root, VerbKeyPath(file_class));
    }
  }
  for (HKEY root : roots)
    for (const std::string& file_class : classes)
      if (root && VerbExists(root, file_class)) return false;
  return true;
}

UniqueHKey OpenUserClasses() {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Classes", 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_READ | KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
    return {};
  return UniqueHKey(key);
}

Outcome RunRegister(HKEY machine_classes, HKEY user_classes, std::string_view command, bool quiet) {
  const Placement placement = RegisterVerb(machine_classes, user_classes, command);
  return Finish(placement == Placement::Nowhere ? Outcome::RegistrationFailed : Outcome::Registered,
                quiet);
}

Outcome RunUnregister(HKEY machine_classes, HKEY user_classes, bool quiet) {
  return Finish(UnregisterVerb(machine_classes, user_classes) ? Outcome::Unregistered
                                                              : Outcome::UnregistrationFailed,
                quiet);
}

} // namespace id3::startup
