#include "startup/verb.h"

namespace id3::startup {

std::string VerbKeyPath(std::string_view file_class) {
  return std::string(file_class) + "\\Shell\\" + std::string(kVerbName);
}

std::string CommandKeyPath(std::string_view file_class) {
  return VerbKeyPath(file_class) + "\\Command";
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
