#include "cli/app.h"

#include "cli/report.h"
#include "tagstore/genres.h"
#include "tagstore/tag.h"
#include "tools/text.h"
#include "version.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <atomic>
#include <charconv>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

namespace id3::cli {
namespace {

constexpr const char* kVersion = "id3v1 " ID3_VERSION_TEXT;

// Files read at once by default. Reading is waiting, mostly: on a cold cache
// eight reads in flight keep a disk or a share busy, and on a warm one the
// cores share the rest of the work (see docs/benchmarks.md).
constexpr unsigned kDefaultJobs = 8;
// A thread is started for each this many files, up to the number of jobs: a
// file from the page cache takes about 20 us, a thread's start about as long
// as ten of them, so over a few dozen files one thread is as quick.
constexpr std::size_t kFilesPerThread = 32;

struct Options {
  std::string codepage;
  bool any_name = false;
  bool json = false;
  bool strict = false;
  unsigned jobs = kDefaultJobs;
  std::vector<std::string> files;
  std::string title, artist, album, year, comment, genre;
  std::optional<int> track;
};

// A genre given as a table name (any letter case) or as a number 0-255.
std::optional<std::uint8_t> ParseGenre(const std::string& text) {
  unsigned number{};
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (!text.empty() && ec == std::errc() && end == text.data() + text.size()) {
    if (number > 255) return std::nullopt;
    return static_cast<std::uint8_t>(number);
  }
  const auto index = FindGenre(text);
  if (!index) return std::nullopt;
  return static_cast<std::uint8_t>(*index);
}

// How many threads RunInOrder starts for count items.
std::size_t ThreadsFor(std::size_t count, unsigned jobs) {
  return std::max<std::size_t>(1, std::min<std::size_t>(jobs, count / kFilesPerThread));
}

// work(i) for i = 0 to count - 1 on ThreadsFor(count, jobs) threads, and
// emit(i) on the calling thread in the order of i, each as soon as its work is
// done.
void RunInOrder(std::size_t count, unsigned jobs, const std::function<void(std::size_t)>& work,
                const std::function<void(std::size_t)>& emit) {
  const std::size_t threads = ThreadsFor(count, jobs);
  if (threads <= 1) {
    for (std::size_t i = 0; i < count; ++i) {
      work(i);
      emit(i);
    }
    return;
  }
  std::atomic<std::size_t> next{0};
  std::mutex m;
  std::condition_variable done_cv;
  std::vector<bool> done(count); // guarded by m
  std::size_t awaited = count;   // the item emit waits for, guarded by m
  std::vector<std::jthread> pool;
  for (std::size_t t = 0; t < threads; ++t) {
    pool.emplace_back([&] {
      for (std::size_t i; (i = next.fetch_add(1)) < count;) {
        work(i);
        std::unique_lock lock(m);
        done[i] = true;
        // Only the item emit waits for wakes it: a wake-up costs a system call.
        const bool wake = i == awaited;
        lock.unlock();
        if (wake) done_cv.notify_one();
      }
    });
  }
  for (std::size_t i = 0; i < count; ++i) {
    {
      std::unique_lock lock(m);
      awaited = i;
      done_cv.wait(lock, [&] { return done[i]; });
    }
    emit(i);
  }
}

class Runner {
public:
  Runner(const Options& options, const CodePage& cp, std::ostream& out, std::ostream& err)
      : o_(options), cp_(cp), out_(out), err_(err) {}

  int Show() {
    struct Shown {
      std::optional<std::string> error;
      std::string text;
    };
    const std::size_t count = o_.files.size();
    std::vector<Shown> shown(count);
    bool first = true;
    // The genre table is built on first use: here, before the threads share it.
    BuildGenreTable();
    RunInOrder(
        count, o_.jobs,
        [&](std::size_t i) {
          // Each thread reads into its own windows, file after file.
          thread_local std::vector<std::uint8_t> windows;
          FileReport report;
          if (o_.any_name || text::HasMp3Extension(o_.files[i])) {
            report = Inspect(o_.files[i], cp_, windows);
          } else {
            report.file = o_.files[i];
            report.error = "not an .mp3 name";
          }
          shown[i].error = report.error;
          if (o_.json) {
            shown[i].text = JsonLine(report);
            shown[i].text += '\n';
          } else if (!report.error) {
            shown[i].text = TextBlock(report);
          }
        },
        [&](std::size_t i) {
          if (shown[i].error) Fail(o_.files[i], *shown[i].error);
          if (!shown[i].text.empty()) {
            if (!o_.json && !first) Print("\n");
            Print(shown[i].text);
            first = false;
          }
          shown[i] = {};
        });
    Flush();
    return Status();
  }

  int Set(const CLI::App& cmd) {
    TagEdit edit;
    for (const auto& [option, value, field] : {std::tuple{"--title", &o_.title, &edit.title},
                                               {"--artist", &o_.artist, &edit.artist},
                                               {"--album", &o_.album, &edit.album},
                                               {"--year", &o_.year, &edit.year},
                                               {"--comment", &o_.comment, &edit.comment}})
      if (cmd.count(option)) *field = *value;
    if (o_.track) edit.track = static_cast<std::uint8_t>(*o_.track);
    if (cmd.count("--genre")) edit.genre = ParseGenre(o_.genre);
    for (const auto& file : o_.files) {
      if (!CheckName(file)) continue;
      const auto read = TryReadRecord(file);
      if (!read) {
        Fail(file, Describe(read.error()));
        continue;
      }
      const EditedRecord edited = ApplyEdit(read->record, edit, cp_);
      if (!Accept(file, edited)) continue;
      if (auto written = TryWriteRecord(file, edited.record, read->file_size); !written)
        Fail(file, Describe(written.error()));
    }
    return Status();
  }

  int Remove() {
    for (const auto& file : o_.files) {
      if (!CheckName(file)) continue;
      if (auto removed = TryRemoveTag(file); !removed) Fail(file, Describe(removed.error()));
    }
    return Status();
  }

private:
  bool CheckName(const std::string& file) {
    if (o_.any_name || text::HasMp3Extension(file)) return true;
    Fail(file, "not an .mp3 name");
    return false;
  }

  // Each field cut or holding characters the code page lacks is a warning,
  // or with --strict a failure that leaves the file alone.
  bool Accept(const std::string& file, const EditedRecord& edited) {
    bool accepted = true;
    for (const FieldWritten& f : edited.fields) {
      std::vector<std::string> problems;
      if (f.cut) problems.push_back("is longer than " + std::to_string(f.width) + " bytes");
      if (f.replaced) problems.push_back("has characters that " + cp_.Name() + " lacks");
      for (const std::string& problem : problems) {
        const std::string what = std::string(FieldName(f.field)) + " " + problem;
        if (o_.strict) {
          Fail(file, what + "; not written (--strict)");
          accepted = false;
        } else {
          err_ << "id3v1: warning: " << file << ": " << what << "; stored as \"" << f.stored
               << "\"\n";
        }
      }
    }
    return accepted;
  }

  void Fail(const std::string& file, std::string_view reason) {
    // What came before the failure is shown before it.
    Flush();
    err_ << "id3v1: " << file << ": " << reason << '\n';
    failed_ = true;
  }

  // The output goes through one buffer, in large writes.
  void Print(std::string_view text) {
    buffer_ += text;
    if (buffer_.size() >= kFlushAt) Flush();
  }

  void Flush() {
    out_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
    buffer_.clear();
  }

  static constexpr std::size_t kFlushAt = 64 * 1024;

  int Status() const { return failed_ ? kSomeFailed : kAllDone; }

  const Options& o_;
  const CodePage& cp_;
  std::ostream& out_;
  std::ostream& err_;
  std::string buffer_;
  bool failed_ = false;
};

} // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  Options o;
  CLI::App app{"Reads and writes the ID3v1 tag of MP3 files.", "id3v1"};
  app.set_version_flag("--version", kVersion);
  app.require_subcommand(1, 1);
  app.fallthrough();
  app.add_option("--codepage", o.codepage,
                 "Code page of the tag's text (default: windows-1252; the ANSI code page on "
                 "Windows)");
  app.add_flag("--any-name", o.any_name, "Also work on files whose names do not end in .mp3");

  CLI::App* show = app.add_subcommand("show", "Show the tag and the audio facts of each file");
  show->add_flag("--json", o.json, "One JSON object per file (JSON Lines)");
  show->add_option("--jobs,-j", o.jobs,
                   "Files read at once (default " + std::to_string(kDefaultJobs) + ")")
      ->check(CLI::Range(1u, 1024u));
  show->add_option("FILE", o.files, "MP3 files")->required();

  CLI::App* set = app.add_subcommand("set", "Change the named fields of each file's tag");
  set->add_option("--title", o.title, "Title (30 bytes)");
  set->add_option("--artist", o.artist, "Artist (30 bytes)");
  set->add_option("--album", o.album, "Album (30 bytes)");
  set->add_option("--year", o.year, "Year (4 bytes)");
  set->add_option("--comment", o.comment, "Comment (30 bytes, 28 with a track number)");
  set->add_option("--track", o.track, "Track number 1-255; 0 removes it")
      ->check(CLI::Range(0, 255));
  set->add_option("--genre", o.genre, "Genre name from the table, or a number 0-255")
      ->check([](const std::string& text) {
        return ParseGenre(text) ? std::string() : "unknown genre: " + text;
      });
  set->add_flag("--strict", o.strict,
                "A field that would be cut or lose characters is an error: that file is left "
                "unchanged");
  set->add_option("FILE", o.files, "MP3 files")->required();

  CLI::App* remove = app.add_subcommand("remove", "Remove the ID3v1 tag of each file");
  remove->add_option("FILE", o.files, "MP3 files")->required();

  app.add_subcommand("genres", "List the genre table: number and name");

  std::vector<const char*> argv;
  for (const auto& a : args) argv.push_back(a.c_str());
  try {
    app.parse(static_cast<int>(argv.size()), argv.data());
  } catch (const CLI::ParseError& e) {
    return app.exit(e, out, err) == 0 ? kAllDone : kUsageError;
  }

  std::optional<CodePage> cp = CodePage::SystemDefault();
  if (!o.codepage.empty()) {
    cp = CodePage::Named(o.codepage);
    if (!cp) {
      err << "id3v1: unknown code page: " << o.codepage << '\n';
      return kUsageError;
    }
  }

  Runner runner(o, *cp, out, err);
  if (show->parsed()) return runner.Show();
  if (set->parsed()) return runner.Set(*set);
  if (remove->parsed()) return runner.Remove();
  for (std::int16_t i = 0; i < kGenreCount; ++i) out << i << '\t' << GenreName(i) << '\n';
  return kAllDone;
}

} // namespace id3::cli
