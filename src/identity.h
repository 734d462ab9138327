// The program's name and version, as the build writes them into version.h
// (from CMakeLists.txt): the title every window, message box and setting of
// the program goes by, and the numbers of its caption and About box.
#pragma once

#include "version.h"

#include <string_view>

namespace id3 {

inline constexpr std::string_view kAppTitle = ID3_APP_TITLE;

struct Version {
  int major;
  int minor;
  int revision;
};

inline constexpr Version kAppVersion{ID3_VERSION_MAJOR, ID3_VERSION_MINOR, ID3_VERSION_REVISION};

} // namespace id3
