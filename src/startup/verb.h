// The "Edit ID3 Tag" verb of MP3 files: where it lives in the registry, the
// command the shell runs for it, and what the user is told afterwards.
#pragma once

#include <string>
#include <string_view>

namespace id3::startup {

inline constexpr std::string_view kVerbName = "Edit ID3 Tag";
// The key below a classes root whose default value names the file class.
inline constexpr std::string_view kExtensionKey = ".mp3";
// The class written when ".mp3" names none.
inline constexpr std::string_view kDefaultClass = "Mp3file";

// file_class\Shell\Edit ID3 Tag and its Command key.
std::string VerbKeyPath(std::string_view file_class);
std::string CommandKeyPath(std::string_view file_class);

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
