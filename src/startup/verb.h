// The "Edit ID3 Tag" verb of MP3 files: where it lives in the registry, the
// command the shell runs for it, and what the user is told afterwards.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace id3::startup {

inline constexpr std::string_view kVerbName = "Edit ID3 Tag";
// The key below a classes root whose default value names the file class.
inline constexpr std::string_view kExtensionKey = ".mp3";
// The class written when ".mp3" names none.
inline constexpr std::string_view kDefaultClass = "Mp3file";

// file_class\Shell\Edit ID3 Tag: the verb of the class that ".mp3" names.
std::string VerbKeyPath(std::string_view file_class);
// SystemFileAssociations\.mp3\shell\Edit ID3 Tag: Explorer merges this verb
// into the menu of every MP3 file, also when the user's choice of default
// player names a class other than the one ".mp3" names.
std::string SupplementalVerbKeyPath();
// The verb key's Command key, which holds the command line.
std::string CommandKeyPath(std::string_view verb_key);
// The path without its last key name; empty for a key directly below the root.
std::string_view ParentKeyPath(std::string_view key_path);

// How ".mp3" was in a place before registration named "Mp3file" there.
enum class ExtensionWas : std::uint8_t { Kept, Missing, WithoutClass, WithEmptyClass };

// What registration made in one place, kept as a number in the verb key it
// made, so that removal takes away that and nothing the place held before.
struct Created {
  // How many of the verb key's nearest parents were new ("Shell", then the
  // class, ...).
  int parents = 0;
  // Recorded in the class's verb key only.
  ExtensionWas extension = ExtensionWas::Kept;
  bool operator==(const Created&) const = default;
};
// The name of that number's value in the verb key.
inline constexpr std::string_view kCreatedValue = "Id3EditCreated";
std::uint32_t PackCreated(const Created& created);
// A number from elsewhere claims no more than the path holds: a count beyond
// max_parents is cut to it, an unknown state of ".mp3" reads as Kept.
Created UnpackCreated(std::uint32_t packed, int max_parents);

// A full program path cut after its last backslash: the folder with its
// backslash (a drive root keeps its single one), and the file name.
struct ModulePath {
  std::string dir;
  std::string file;
};
ModulePath SplitModulePath(std::string_view full_path);

// The program in double quotes, a blank, and the shell's "%1" in double
// quotes. The file is named with ".exe" in place of whatever extension it has.
std::string VerbCommand(std::string_view app_dir, std::string_view exe_file_name);

enum class Outcome { Registered, RegistrationFailed, Unregistered, UnregistrationFailed };

enum class MessageIcon { Information, Critical };

struct Message {
  std::string_view text;
  MessageIcon icon;
};

Message MessageFor(Outcome outcome);

// 0 when the verb is where it was asked to be, 1 otherwise.
int ExitCodeFor(Outcome outcome);

} // namespace id3::startup
