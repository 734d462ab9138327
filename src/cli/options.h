// id3v1's command line: its commands and options, their help, and the
// parsing of the arguments into what the runner does.
#pragma once

#include "tagstore/tag.h"

#include <string>
#include <vector>

namespace id3::cli {

// Files read at once by default. Reading is waiting, mostly: on a cold cache
// eight reads in flight keep a disk or a share busy, and on a warm one the
// cores share the rest of the work (see docs/benchmarks.md).
constexpr unsigned kDefaultJobs = 8;

enum class Command { kNone, kShow, kSet, kRemove, kGenres };

// What the command line asks for.
struct Options {
  Command command = Command::kNone;
  std::string codepage;
  bool any_name = false;
  bool json = false;
  bool strict = false;
  bool from_id3v2 = false;
  bool dry_run = false;
  unsigned jobs = kDefaultJobs;
  std::vector<std::string> files;
  TagEdit given; // the fields named on the command line
};

// Run the command, print the text (--help, --version), or refuse the line.
struct Parsed {
  enum { kRun, kText, kError } outcome;
  std::string text; // the help or version to print, or the usage error
};

// The command line into o. Options of the tool go anywhere, a command's
// after it; "--" ends the options.
Parsed Parse(const std::vector<std::string>& args, Options& o);

} // namespace id3::cli
