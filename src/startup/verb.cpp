#include "startup/verb.h"

#include <algorithm>

namespace id3::startup {

std::string VerbKeyPath(std::string_view file_class) {
  return std::string(file_class) + "\\Shell\\" + std::string(kVerbName);
}

std::string SupplementalVerbKeyPath() {
  return "SystemFileAssociations\\.mp3\\shell\\" + std::string(kVerbName);
}

std::string CommandKeyPath(std::string_view verb_key) {
  return std::string(verb_key) + "\\Command";
}

std::string_view ParentKeyPath(std::string_view key_path) {
  const std::size_t cut = key_path.rfind('\\');
  return cut == std::string_view::npos ? std::string_view() : key_path.substr(0, cut);
}

std::uint32_t PackCreated(const Created& created) {
  return static_cast<std::uint32_t>(created.parents) | static_cast<std::uint32_t>(created.extension)
                                                           << 8;
}

Created UnpackCreated(std::uint32_t packed, int max_parents) {
  Created created;
  created.parents = std::min(static_cast<int>(packed & 0xFF), max_parents);
  const std::uint32_t extension = packed >> 8;
  if (extension <= static_cast<std::uint32_t>(ExtensionWas::WithEmptyClass))
    created.extension = static_cast<ExtensionWas>(extension);
  return created;
}

ModulePath SplitModulePath(std::string_view full_path) {
  const std::size_t cut = full_path.rfind('\\');
  if (cut == std::string_view::npos) return {"\\", std::string(full_path)};
  return {std::string(full_path.substr(0, cut + 1)), std::string(full_path.substr(cut + 1))};
}

std::string VerbCommand(std::string_view app_dir, std::string_view exe_file_name) {
  const std::string_view stem = exe_file_name.substr(0, exe_file_name.rfind('.'));
  std::string command = "\"";
  command += app_dir;
  if (!command.ends_with('\\')) command += '\\';
  command += stem;
  command += ".exe\" \"%1\"";
  return command;
}

Message MessageFor(Outcome outcome) {
  switch (outcome) {
  case Outcome::Registered:
    return {"Registration complete!\r\n\r\n"
            "You may now Right-Click on MP3 files to edit their ID3 Tags.",
            MessageIcon::Information};
  case Outcome::RegistrationFailed: return {"Registration failed!", MessageIcon::Critical};
  case Outcome::Unregistered:
    return {"Registration successfully deleted!", MessageIcon::Information};
  case Outcome::UnregistrationFailed:
    return {"Registration could not be deleted!", MessageIcon::Critical};
  }
  return {"", MessageIcon::Critical};
}

int ExitCodeFor(Outcome outcome) {
  return outcome == Outcome::Registered || outcome == Outcome::Unregistered ? 0 : 1;
}

} // namespace id3::startup
