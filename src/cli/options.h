// id3v1's command line: its commands and options, their help, and the
// parsing of the arguments into what the runner does.
#pragma once

#include "tagstore/tag.h"
#include "tools/codepage.h"

#include <expected>
#include <optional>
#include <string>
#include <vector>

namespace id3::cli {

// Files read at once by default. Reading is waiting, mostly: on a cold cache
// eight reads in flight keep a disk or a share busy, and on a warm one the
// cores share the rest of the work (see docs/benchmarks.md).
constexpr unsigned kDefaultJobs = 8;

enum class Command { kNone, kShow, kSet, kRemove, kGenres, kRecode };

// What the command line asks for.
struct Options {
  Command command = Command::kNone;
  std::string codepage;
  std::string default_codepage;
  std::string to, from; // recode's code pages
  bool any_name = false;
  bool json = false;
  bool strict = false;
  bool from_id3v2 = false;
  bool dry_run = false;
  unsigned jobs = kDefaultJobs;
  std::vector<std::string> files;
  TagEdit given; // the fields named on the command line
};

// The code pages the options name: --codepage's, used for every file, and
// the fallback where a file gives no evidence of its own.
struct CodePages {
  std::optional<CodePage> option;
  CodePage fallback;
};

// The system's ANSI code page (windows-1252 elsewhere) unless
// --default-codepage names another; the error names what is no code page.
std::expected<CodePages, std::string> ResolveCodePages(const Options& o);

// Run the command, print the text (--help, --version), or refuse the line.
struct Parsed {
  enum { kRun, kText, kError } outcome;
  std::string text; // the help or version to print, or the usage error
};

// The command line into o. Options of the tool go anywhere, a command's
// after it; "--" ends the options.
Parsed Parse(const std::vector<std::string>& args, Options& o);

} // namespace id3::cli
