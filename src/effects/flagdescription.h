// The help text that names the window animation flags.
#pragma once

#include <string>

namespace id3 {

// Nineteen lines joined by CR LF, no line break after the last.
std::string FlagDescription();

} // namespace id3
