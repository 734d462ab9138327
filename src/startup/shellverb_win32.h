// Adding and removing the "Edit ID3 Tag" verb. Windows builds only.
//
// Each action takes two classes roots: the machine-wide one (HKEY_CLASSES_ROOT
// in the program) and the current user's (HKEY_CURRENT_USER\Software\Classes),
// which takes the verb when the machine-wide one refuses it, as it does for a
// user without administrator rights.
#pragma once

#include "startup/modtools_win32.h"
#include "startup/verb.h"

#include <string_view>

namespace id3::startup {

enum class Placement { MachineWide, ForUser, Nowhere };

// Writes the verb with command below the class that ".mp3" names, creating
// ".mp3" with "Mp3file" when it names none. The class is taken from the
// machine-wide root for both places, so that the user's own ".mp3" is only
// written when the system has no class either.
Placement RegisterVerb(HKEY machine_classes, HKEY user_classes, std::string_view command);

// Deletes the Command key and then the verb key from both roots, the user's
// first; the "Shell" key, the class and ".mp3" stay. True when no verb is left
// in either root, also when there was none.
bool UnregisterVerb(HKEY machine_classes, HKEY user_classes);

// The current user's classes root, created if missing; empty if refused.
UniqueHKey OpenUserClasses();

// The actions as the program runs them: the registry work, one notice to the
// shell that associations changed, and the outcome's message box unless quiet.
Outcome RunRegister(HKEY machine_classes, HKEY user_classes, std::string_view command, bool quiet);
Outcome RunUnregister(HKEY machine_classes, HKEY user_classes, bool quiet);

} // namespace id3::startup
