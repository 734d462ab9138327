// What the running process was started with. Windows builds only.
#pragma once

#include <string>
#include <vector>

namespace id3::win {

// The argument text: the command line without the program's own path and the
// blanks after it, as one UTF-8 string.
std::string ArgumentText();

// The command line split into arguments as Windows splits it
// (CommandLineToArgvW), the program's path first, each as UTF-8.
std::vector<std::string> CommandLineArguments();

} // namespace id3::win
