// id3v1: the tag store and the audio facts for many files at once.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace id3::cli {

enum ExitStatus : int { kAllDone = 0, kSomeFailed = 1, kUsageError = 2 };

// Runs one command line (args[0] is the program's name) and returns the exit
// status.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace id3::cli
