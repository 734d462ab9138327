#include "startup/shellverb_win32.h"

#include "identity.h"
#include "tools/wintext_win32.h"

#include <shlobj.h>

#include <algorithm>
#include <string>
#include <vector>

namespace id3::startup {
namespace {

bool KeyExists(HKEY root, std::string_view key_path) {
  return OpenRegKey(root, key_path, KEY_READ) != nullptr;
}

// A key with neither values nor sub-keys.
bool IsEmptyKey(HKEY root, std::string_view key_path) {
  const UniqueHKey key = OpenRegKey(root, key_path, KEY_READ);
  DWORD sub_keys = 0;
  DWORD values = 0;
  return key &&
         RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, &sub_keys, nullptr, nullptr,
                          &values, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
         sub_keys == 0 && values == 0;
}

// A missing key has no sub-keys, so the missing parents are the nearest ones.
int MissingParents(HKEY root, std::string_view key_path) {
  int missing = 0;
  for (std::string_view parent = ParentKeyPath(key_path);
       !parent.empty() && !KeyExists(root, parent); parent = ParentKeyPath(parent))
    ++missing;
  return missing;
}

// What registration recorded in the verb key; nothing for a verb it did not
// make or that an older version made.
Created ReadCreated(HKEY root, std::string_view verb_key) {
  const UniqueHKey key = OpenRegKey(root, verb_key, KEY_QUERY_VALUE);
  const auto packed = key ? ReadRegNumber(key.get(), kCreatedValue) : std::nullopt;
  if (!packed) return {};
  return UnpackCreated(*packed, static_cast<int>(std::ranges::count(verb_key, '\\')));
}

// How ".mp3" is in a place whose ".mp3" names no class.
ExtensionWas ExtensionState(HKEY root) {
  const UniqueHKey key = OpenRegKey(root, kExtensionKey, KEY_QUERY_VALUE);
  if (!key) return ExtensionWas::Missing;
  return ReadRegValue(key.get(), "") ? ExtensionWas::WithEmptyClass : ExtensionWas::WithoutClass;
}

// Takes back the class name that registration wrote, unless someone has named
// another class since, and ".mp3" itself when registration made it and it
// holds nothing now.
void RestoreExtension(HKEY root, ExtensionWas was) {
  if (was == ExtensionWas::Kept) return;
  if (RegGetString(root, kExtensionKey, "") == kDefaultClass) {
    if (was == ExtensionWas::WithEmptyClass)
      RegWriteValue(root, kExtensionKey, "", REG_SZ, std::string());
    else if (const UniqueHKey key = OpenRegKey(root, kExtensionKey, KEY_SET_VALUE))
      RegDeleteValueW(key.get(), nullptr);
  }
  if (was == ExtensionWas::Missing && IsEmptyKey(root, kExtensionKey))
    RegDeleteKeyPath(root, kExtensionKey);
}

// Deletes the Command key and then the verb key (a key with sub-keys is not
// deleted), then each parent that registration made (or set out to make) as
// long as it is empty. Only when all of those are gone is ".mp3" put back: a
// class that something else now uses keeps its name. False when the verb key
// is still there.
bool DeleteVerb(HKEY root, std::string_view verb_key, const Created& created) {
  RegDeleteKeyPath(root, CommandKeyPath(verb_key));
  RegDeleteKeyPath(root, verb_key);
  if (KeyExists(root, verb_key)) return false;
  std::string_view key = verb_key;
  for (int i = 0; i < created.parents; ++i) {
    key = ParentKeyPath(key);
    if (KeyExists(root, key) &&
        (!IsEmptyKey(root, key) || RegDeleteKeyPath(root, key) != ERROR_SUCCESS))
      return true;
  }
  RestoreExtension(root, created.extension);
  return true;
}

bool RemoveVerb(HKEY root, std::string_view verb_key) {
  return DeleteVerb(root, verb_key, ReadCreated(root, verb_key));
}

// Writes the command, and records in the verb key what was new; a verb key
// that was there already keeps its record. A verb that cannot be written whole
// is taken away again.
bool WriteVerb(HKEY root, const std::string& verb_key, std::string_view command,
               ExtensionWas extension) {
  Created created = KeyExists(root, verb_key) ? ReadCreated(root, verb_key)
                                              : Created{MissingParents(root, verb_key)};
  if (extension != ExtensionWas::Kept) created.extension = extension;
  if (RegWriteValue(root, verb_key, kCreatedValue, REG_DWORD, PackCreated(created)) ==
          ERROR_SUCCESS &&
      RegWriteValue(root, CommandKeyPath(verb_key), "", REG_SZ, std::string(command)) ==
          ERROR_SUCCESS)
    return true;
  DeleteVerb(root, verb_key, created);
  return false;
}

// Both verbs in one place, or neither.
bool WriteVerbs(HKEY root, std::string file_class, std::string_view command) {
  if (file_class.empty()) file_class = RegGetString(root, kExtensionKey, "");
  ExtensionWas extension = ExtensionWas::Kept;
  if (file_class.empty()) {
    extension = ExtensionState(root);
    file_class = kDefaultClass;
    if (RegWriteValue(root, kExtensionKey, "", REG_SZ, file_class) != ERROR_SUCCESS) {
      RestoreExtension(root, extension);
      return false;
    }
  }
  const std::string class_verb = VerbKeyPath(file_class);
  if (!WriteVerb(root, class_verb, command, extension)) return false;
  if (WriteVerb(root, SupplementalVerbKeyPath(), command, ExtensionWas::Kept)) return true;
  RemoveVerb(root, class_verb);
  return false;
}

void Show(Outcome outcome) {
  const Message message = MessageFor(outcome);
  const UINT icon = message.icon == MessageIcon::Information ? MB_ICONINFORMATION : MB_ICONSTOP;
  MessageBoxW(nullptr, win::Widen(message.text).c_str(), win::Widen(kAppTitle).c_str(),
              MB_OK | icon);
}

Outcome Finish(Outcome outcome, bool quiet) {
  SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
  if (!quiet) Show(outcome);
  return outcome;
}

} // namespace

Placement RegisterVerb(HKEY machine_classes, HKEY user_classes, std::string_view command,
                       bool user_only) {
  const std::string file_class = RegGetString(machine_classes, kExtensionKey, "");
  if (!user_only && WriteVerbs(machine_classes, file_class, command)) return Placement::MachineWide;
  if (user_classes && WriteVerbs(user_classes, file_class, command)) return Placement::ForUser;
  return Placement::Nowhere;
}

bool UnregisterVerb(HKEY machine_classes, HKEY user_classes, bool user_only) {
  // The user's ".mp3" may name a class of its own.
  std::vector<std::string> verb_keys{SupplementalVerbKeyPath()};
  for (HKEY root : {machine_classes, user_classes}) {
    const std::string file_class = root ? RegGetString(root, kExtensionKey, "") : std::string();
    if (!file_class.empty()) verb_keys.push_back(VerbKeyPath(file_class));
  }
  // The user's keys go first: where both roots hold the verb, the merged view
  // of HKEY_CLASSES_ROOT shows the user's copy, and deleting through it must
  // then reach the machine-wide one.
  bool all_gone = true;
  for (HKEY root : {user_classes, user_only ? nullptr : machine_classes}) {
    if (!root) continue;
    for (const std::string& verb_key : verb_keys) all_gone = RemoveVerb(root, verb_key) && all_gone;
  }
  return all_gone;
}

UniqueHKey OpenUserClasses() {
  return CreateRegKey(HKEY_CURRENT_USER, "Software\\Classes", KEY_READ | KEY_WRITE);
}

Outcome RunRegister(HKEY machine_classes, HKEY user_classes, std::string_view command,
                    const Choice& choice) {
  const Placement placement =
      RegisterVerb(machine_classes, user_classes, command, choice.user_only);
  return Finish(placement == Placement::Nowhere ? Outcome::RegistrationFailed : Outcome::Registered,
                choice.quiet);
}

Outcome RunUnregister(HKEY machine_classes, HKEY user_classes, const Choice& choice) {
  return Finish(UnregisterVerb(machine_classes, user_classes, choice.user_only)
                    ? Outcome::Unregistered
                    : Outcome::UnregistrationFailed,
                choice.quiet);
}

} // namespace id3::startup
