// The process's arguments as UTF-8, and a console that shows UTF-8.
#pragma once

#include <string>
#include <vector>

namespace id3::cli {

std::vector<std::string> Utf8Arguments(int argc, char** argv);

} // namespace id3::cli
