#include "cli/args.h"

namespace id3::cli {

std::vector<std::string> Utf8Arguments(int argc, char** argv) {
  return std::vector<std::string>(argv, argv + argc);
}

} // namespace id3::cli
