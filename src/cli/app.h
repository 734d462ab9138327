// id3v1: the tag store and the audio facts for many files at once.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace id3::cli {

enum ExitStatus : int { kAllDone = 0, kSomeFailed = 1, kUsageError = 2 };

// Where text goes: the standard output or error, or a test's string.
using Output = std::function<void(std::string_view)>;

// Runs one command line (args[0] is the program's name) and returns the exit
// status.
int RunCli(const std::vector<std::string>& args, const Output& out, const Output& err);

} // namespace id3::cli
