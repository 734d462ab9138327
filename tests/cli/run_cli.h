// Runs the command-line tool in-process, as "id3v1 args...", and keeps what it
// printed.
#pragma once

#include "cli/app.h"

#include <sstream>
#include <string>
#include <vector>

namespace id3::cli {

struct Outcome {
  int status;
  std::string out;
  std::string err;
};

inline Outcome Cli(std::vector<std::string> args) {
  args.insert(args.begin(), "id3v1");
  std::ostringstream out, err;
  const int status = RunCli(args, out, err);
  return {status, out.str(), err.str()};
}

} // namespace id3::cli
