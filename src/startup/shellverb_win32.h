// Adding and removing the "Edit ID3 Tag" verb. Windows builds only.
//
// Each action takes two classes roots: the machine-wide one (HKEY_CLASSES_ROOT
// in the program) and the current user's (HKEY_CURRENT_USER\Software\Classes),
// which takes the verb when the machine-wide one refuses it, as it does for a
// user without administrator rights. In a place the verb is written twice: below
// the class that ".mp3" names, and below SystemFileAssociations\.mp3, which
// Explorer merges in whichever default player the user chose.
#pragma once

#include "startup/options.h"
#include "startup/regpath_win32.h"
#include "startup/verb.h"

#include <string_view>

namespace id3::startup {

enum class Placement { MachineWide, ForUser, Nowhere };

// Writes both verbs with command in the first place that takes them whole (the
// machine-wide one is skipped when user_only); a place that refuses part of
// them keeps neither verb, nor anything made for them. The class is the one
// the machine-wide root names; when it names none, the place's own ".mp3"
// class, and failing that "Mp3file", written into the place's ".mp3".
Placement RegisterVerb(HKEY machine_classes, HKEY user_classes, std::string_view command,
                       bool user_only = false);

// Deletes both verbs from both places, the user's first (from the user's only
// when user_only), and then what registration recorded that it made there, as
// far as it holds nothing else now: "Shell", the class, ".mp3" and its class
// name, the SystemFileAssociations keys. True when no verb is left, also when
// there was none.
bool UnregisterVerb(HKEY machine_classes, HKEY user_classes, bool user_only = false);

// The current user's classes root, created if missing; empty if refused.
UniqueHKey OpenUserClasses();

// The actions as the program runs them: the registry work, one notice to the
// shell that associations changed, and the outcome's message box unless quiet.
Outcome RunRegister(HKEY machine_classes, HKEY user_classes, std::string_view command,
                    const Choice& choice);
Outcome RunUnregister(HKEY machine_classes, HKEY user_classes, const Choice& choice);

} // namespace id3::startup
