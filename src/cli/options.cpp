#include "cli/options.h"

#include "tagstore/genres.h"
#include "tools/text.h"
#include "version.h"

#include <algorithm>
#include <optional>

namespace id3::cli {
namespace {

constexpr const char* kVersion = "id3v1 " ID3_VERSION_TEXT;

// A genre given as a table name (any letter case) or as a number 0-255.
std::optional<std::uint8_t> ParseGenre(const std::string& text) {
  if (const auto number = text::ParseNumber(text)) {
    if (*number > 255) return std::nullopt;
    return static_cast<std::uint8_t>(*number);
  }
  const auto index = FindGenre(text);
  if (!index) return std::nullopt;
  return static_cast<std::uint8_t>(*index);
}

// An option: its names, the command it belongs to (kNone: any), the name of
// its value (none for a flag), its help, and what it does with the value: the
// error text when it is not one it takes.
struct OptionSpec {
  std::string_view name, alias;
  Command command;
  std::string_view value;
  std::string_view help;
  std::string (*take)(Options&, const std::string&);
};

// A text field's option: the text as given, fitted when the record is made.
template <std::optional<std::string> TagEdit::*Field>
std::string TakeText(Options& o, const std::string& v) {
  o.given.*Field = v;
  return std::string();
}

const OptionSpec kOptions[] = {
    {"--codepage", "", Command::kNone, "NAME",
     "Code page of every file's tag, whatever the file says",
     [](Options& o, const std::string& v) {
       o.codepage = v;
       return std::string();
     }},
    {"--default-codepage", "", Command::kNone, "NAME",
     "Code page of a tag that says nothing of its own (default: windows-1252; the ANSI code page "
     "on Windows)",
     [](Options& o, const std::string& v) {
       o.default_codepage = v;
       return std::string();
     }},
    {"--any-name", "", Command::kNone, "", "Also work on files whose names do not end in .mp3",
     [](Options& o, const std::string&) {
       o.any_name = true;
       return std::string();
     }},
    {"--json", "", Command::kShow, "", "One JSON object per file (JSON Lines)",
     [](Options& o, const std::string&) {
       o.json = true;
       return std::string();
     }},
    {"--jobs", "-j", Command::kShow, "N", "Files read at once, 1-1024 (default 8)",
     [](Options& o, const std::string& v) {
       const auto n = text::ParseNumber(v);
       if (!n || *n < 1 || *n > 1024) return "not a number from 1 to 1024: " + v;
       o.jobs = *n;
       return std::string();
     }},
    {"--title", "", Command::kSet, "TEXT", "Title (30 bytes)", TakeText<&TagEdit::title>},
    {"--artist", "", Command::kSet, "TEXT", "Artist (30 bytes)", TakeText<&TagEdit::artist>},
    {"--album", "", Command::kSet, "TEXT", "Album (30 bytes)", TakeText<&TagEdit::album>},
    {"--year", "", Command::kSet, "TEXT", "Year (4 bytes)", TakeText<&TagEdit::year>},
    {"--comment", "", Command::kSet, "TEXT", "Comment (30 bytes, 28 with a track number)",
     TakeText<&TagEdit::comment>},
    {"--track", "", Command::kSet, "N", "Track number 1-255; 0 removes it",
     [](Options& o, const std::string& v) {
       const auto n = text::ParseNumber(v);
       if (!n || *n > 255) return "not a number from 0 to 255: " + v;
       o.given.track = static_cast<std::uint8_t>(*n);
       return std::string();
     }},
    {"--genre", "", Command::kSet, "GENRE", "Genre name from the table, or a number 0-255",
     [](Options& o, const std::string& v) {
       o.given.genre = ParseGenre(v);
       return o.given.genre ? std::string() : "unknown genre: " + v;
     }},
    {"--from-id3v2", "", Command::kSet, "",
     "Fill the tag from the file's ID3v2 tag: title, artist, album, year, comment, track, "
     "genre; a field given here wins. A file without one is left alone",
     [](Options& o, const std::string&) {
       o.from_id3v2 = true;
       return std::string();
     }},
    {"--dry-run", "", Command::kSet, "", "Print what would be written, write nothing",
     [](Options& o, const std::string&) {
       o.dry_run = true;
       return std::string();
     }},
    {"--strict", "", Command::kSet, "",
     "A field that would be cut or lose characters is an error: that file is left unchanged",
     [](Options& o, const std::string&) {
       o.strict = true;
       return std::string();
     }},
    {"--to", "", Command::kRecode, "NAME", "The code page to write the text in (needed)",
     [](Options& o, const std::string& v) {
       o.to = v;
       return std::string();
     }},
    {"--from", "", Command::kRecode, "NAME",
     "The code page the text is in, for every file (default: decided for each file)",
     [](Options& o, const std::string& v) {
       o.from = v;
       return std::string();
     }},
    {"--dry-run", "", Command::kRecode, "", "Print each field's old and new text, write nothing",
     [](Options& o, const std::string&) {
       o.dry_run = true;
       return std::string();
     }},
    {"--strict", "", Command::kRecode, "",
     "A field that would be cut or lose characters is an error: that file is left unchanged",
     [](Options& o, const std::string&) {
       o.strict = true;
       return std::string();
     }},
};

struct CommandSpec {
  std::string_view name;
  Command command;
  std::string_view help;
  bool files; // takes FILE...
};

constexpr CommandSpec kCommands[] = {
    {"show", Command::kShow, "Show the tag and the audio facts of each file", true},
    {"set", Command::kSet, "Change the named fields of each file's tag", true},
    {"remove", Command::kRemove, "Remove the ID3v1 tag of each file", true},
    {"recode", Command::kRecode,
     "Rewrite the title, artist, album and comment of each file's tag in another code page", true},
    {"genres", Command::kGenres, "List the genre table: number and name", false},
};

const CommandSpec* FindCommand(Command command) {
  for (const CommandSpec& c : kCommands)
    if (c.command == command) return &c;
  return nullptr;
}

// A help line: the left column, padded, then the text. The column is wide
// enough for the longest option with its value, "--default-codepage NAME".
std::string HelpLine(std::string_view left, std::string_view text) {
  constexpr std::size_t kColumn = 27;
  std::string line = "  ";
  line += left;
  line.resize(std::max(kColumn, line.size() + 1), ' ');
  line += text;
  line += '\n';
  return line;
}

std::string Help(Command command) {
  std::string help;
  const CommandSpec* c = FindCommand(command);
  if (!c) {
    help = "Reads and writes the ID3v1 tag of MP3 files.\n"
           "Usage: id3v1 [OPTIONS] COMMAND [OPTIONS] [FILE...]\n\nCommands:\n";
    for (const CommandSpec& each : kCommands) help += HelpLine(each.name, each.help);
    help += "\nThe code page of a file's tag: --codepage if given; else the one in which\n"
            "the tag holds its ID3v2 tag's texts; else UTF-8 if its bytes are UTF-8;\n"
            "else the fallback (--default-codepage, else the system's).\n";
  } else {
    help += c->help;
    help += ".\nUsage: id3v1 [OPTIONS] ";
    help += c->name;
    help += c->files ? " [OPTIONS] FILE...\n" : "\n";
  }
  help += "\nOptions:\n";
  for (const OptionSpec& o : kOptions) {
    if (o.command != Command::kNone && o.command != command) continue;
    std::string left;
    if (!o.alias.empty()) (left += o.alias) += ", ";
    left += o.name;
    if (!o.value.empty()) (left += ' ') += o.value;
    help += HelpLine(left, o.help);
  }
  if (!c) help += HelpLine("--version", "The version");
  return help += HelpLine("--help, -h", "This text");
}

} // namespace

Parsed Parse(const std::vector<std::string>& args, Options& o) {
  const auto error = [](std::string text) { return Parsed{Parsed::kError, std::move(text)}; };
  bool options = true;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (options && arg == "--") {
      options = false;
    } else if (options && arg.size() > 1 && arg[0] == '-') {
      if (arg == "--help" || arg == "-h") return {Parsed::kText, Help(o.command)};
      if (arg == "--version" && o.command == Command::kNone)
        return {Parsed::kText, std::string(kVersion) + "\n"};
      const std::size_t equals = arg.starts_with("--") ? arg.find('=') : std::string::npos;
      const std::string name = arg.substr(0, equals);
      const auto known = std::ranges::find_if(kOptions, [&](const OptionSpec& s) {
        return (s.name == name || s.alias == name) &&
               (s.command == Command::kNone || s.command == o.command);
      });
      if (known == std::end(kOptions)) return error("unknown option: " + name);
      std::string value;
      if (equals != std::string::npos) {
        if (known->value.empty()) return error(name + " takes no value");
        value = arg.substr(equals + 1);
      } else if (!known->value.empty()) {
        if (++i == args.size()) return error(name + " needs a value");
        value = args[i];
      }
      if (std::string wrong = known->take(o, value); !wrong.empty())
        return error(name + ": " + wrong);
    } else if (o.command == Command::kNone) {
      const auto c = std::ranges::find(kCommands, arg, &CommandSpec::name);
      if (c == std::end(kCommands)) return error("unknown command: " + arg);
      o.command = c->command;
    } else if (!FindCommand(o.command)->files) {
      return error("unexpected: " + arg);
    } else {
      o.files.push_back(arg);
    }
  }
  if (o.command == Command::kNone)
    return error("a command is needed: show, set, remove, recode or genres");
  if (o.command == Command::kRecode && o.to.empty()) return error("recode needs --to NAME");
  if (FindCommand(o.command)->files && o.files.empty()) return error("no FILE given");
  return {Parsed::kRun, {}};
}

std::expected<CodePages, std::string> ResolveCodePages(const Options& o) {
  CodePages pages{std::nullopt, CodePage::SystemDefault()};
  if (!o.codepage.empty() && !(pages.option = CodePage::Named(o.codepage)))
    return std::unexpected("unknown code page: " + o.codepage);
  if (!o.default_codepage.empty()) {
    const auto named = CodePage::Named(o.default_codepage);
    if (!named) return std::unexpected("unknown code page: " + o.default_codepage);
    pages.fallback = *named;
  }
  return pages;
}

} // namespace id3::cli
