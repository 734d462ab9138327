// What the running process was started with. Windows builds only.
#pragma once

#include <string>

namespace id3::win {

// The argument text: the command line without the program's own path and the
// blanks after it, as one UTF-8 string.
std::string ArgumentText();

} // namespace id3::win
