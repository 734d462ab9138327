#include "cli/app.h"

#include "cli/options.h"
#include "cli/recode.h"
#include "cli/report.h"
#include "id3v2/to_id3v1.h"
#include "inspect/inspection.h"
#include "tagstore/genres.h"
#include "tagstore/tag.h"
#include "tools/bytesource.h"
#include "tools/text.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

namespace id3::cli {
namespace {

// A thread is started for each this many files, up to the number of jobs: a
// file from the page cache takes about 20 us, a thread's start about as long
// as ten of them, so over a few dozen files one thread is as quick.
constexpr std::size_t kFilesPerThread = 32;

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
  Runner(const Options& options, const InspectRequest& request, const Output& out,
         const Output& err)
      : o_(options), request_(request), out_(out), err_(err) {}

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
            report = Report(o_.files[i], request_, windows);
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

  int Set() {
    bool first = true;
    for (const auto& file : o_.files) {
      if (!CheckName(file)) continue;
      const auto plan = PlanEdit(file);
      if (!plan) continue;
      const CodePage& cp = plan->code_page;
      const EditedRecord edited = ApplyEdit(plan->record, plan->edit, cp);
      if (!Accept(file, edited, cp)) continue;
      if (o_.dry_run) {
        if (!first) Print("\n");
        first = false;
        Print(file + "\n" + TagLines(ParseTagRecord(edited.record, cp)));
      } else if (auto written = TryWriteRecord(file, edited.record, plan->edit, plan->file_size);
                 !written) {
        Fail(file, Describe(written.error()));
      }
    }
    Flush();
    return Status();
  }

  int Remove() {
    for (const auto& file : o_.files) {
      if (!CheckName(file)) continue;
      const auto in = InspectFile(file, request_, windows_);
      if (!in) {
        Fail(file, io::Describe(in.error()));
        continue;
      }
      if (const auto plan = PlanRemove(in->end); !plan) {
        Fail(file, Unclear(*in));
      } else if (auto removed = TryRemoveTag(file, in->file_size); !removed) {
        Fail(file, Describe(removed.error()));
      }
    }
    return Status();
  }

private:
  // What a file's record becomes: the record as the file holds it (none
  // without a tag), the file's length when it was read, the change, and the
  // code page the record is in.
  struct Plan {
    std::optional<TagRecord> record;
    std::uint64_t file_size = 0;
    TagEdit edit;
    CodePage code_page;
  };

  static std::string Unclear(const Inspection& in) {
    return "the blocks at its end cannot be told apart (" + in.end.unclear.value_or("") +
           "); left as it is";
  }

  // The fields given, and with --from-id3v2 what the file's ID3v2 tag proposes
  // for the others. The file is opened once and read through its head and
  // tail windows, which hold both tags.
  std::optional<Plan> PlanEdit(const std::string& file) {
    const auto in = InspectFile(file, request_, windows_);
    if (!in) {
      Fail(file, io::Describe(in.error()));
      return std::nullopt;
    }
    if (in->file_size < record::kSize) {
      Fail(file, Describe(TagError::TooShort));
      return std::nullopt;
    }
    if (in->end.unclear) {
      Fail(file, Unclear(*in));
      return std::nullopt;
    }
    Plan plan{in->end.record, in->file_size, o_.given, in->code_page.code_page};
    if (!o_.from_id3v2) return plan;
    if (!in->proposal) {
      Fail(file, "no ID3v2 tag; left as it is");
      return std::nullopt;
    }
    plan.edit = EditFromProposal(*in->proposal, o_.given);
    bool accepted = true;
    for (const id3v2::Warning& w : in->proposal->warnings)
      if (!Given(o_.given, w.field)) accepted = Warn(file, id3v2::Describe(w)) && accepted;
    if (!accepted) return std::nullopt;
    return plan;
  }

  static bool Given(const TagEdit& given, id3v2::Field field) {
    switch (field) {
    case id3v2::Field::kTitle: return given.title.has_value();
    case id3v2::Field::kArtist: return given.artist.has_value();
    case id3v2::Field::kAlbum: return given.album.has_value();
    case id3v2::Field::kYear: return given.year.has_value();
    case id3v2::Field::kComment: return given.comment.has_value();
    case id3v2::Field::kTrack: return given.track.has_value();
    case id3v2::Field::kGenre: break;
    }
    return given.genre.has_value();
  }

  // A warning, or with --strict a failure that leaves the file alone.
  bool Warn(const std::string& file, const std::string& what) {
    if (o_.strict) {
      Fail(file, what + "; not written (--strict)");
      return false;
    }
    Flush();
    err_("id3v1: warning: " + file + ": " + what + "\n");
    return true;
  }

  bool CheckName(const std::string& file) {
    if (o_.any_name || text::HasMp3Extension(file)) return true;
    Fail(file, "not an .mp3 name");
    return false;
  }

  // Each field cut or holding characters the code page lacks is a warning,
  // or with --strict a failure that leaves the file alone.
  bool Accept(const std::string& file, const EditedRecord& edited, const CodePage& cp) {
    bool accepted = true;
    for (const FieldWritten& f : edited.fields) {
      std::vector<std::string> problems;
      if (f.cut) problems.push_back("is longer than " + std::to_string(f.width) + " bytes");
      if (f.replaced) problems.push_back("has characters that " + cp.Name() + " lacks");
      for (const std::string& problem : problems) {
        const std::string what = std::string(FieldName(f.field)) + " " + problem;
        accepted =
            Warn(file, o_.strict ? what : what + "; stored as \"" + f.stored + "\"") && accepted;
      }
    }
    return accepted;
  }

  void Fail(const std::string& file, std::string_view reason) {
    // What came before the failure is shown before it.
    Flush();
    err_("id3v1: " + file + ": " + std::string(reason) + "\n");
    failed_ = true;
  }

  // The output goes through one buffer, in large writes.
  void Print(std::string_view text) {
    buffer_ += text;
    if (buffer_.size() >= kFlushAt) Flush();
  }

  void Flush() {
    if (buffer_.empty()) return;
    out_(buffer_);
    buffer_.clear();
  }

  static constexpr std::size_t kFlushAt = 64 * 1024;

  int Status() const { return failed_ ? kSomeFailed : kAllDone; }

  const Options& o_;
  const InspectRequest& request_;
  std::vector<std::uint8_t> windows_; // the head and tail of the file read last
  const Output& out_;
  const Output& err_;
  std::string buffer_;
  bool failed_ = false;
};

} // namespace

int RunCli(const std::vector<std::string>& args, const Output& out, const Output& err) {
  Options o;
  const Parsed parsed = Parse(args, o);
  if (parsed.outcome == Parsed::kText) {
    out(parsed.text);
    return kAllDone;
  }
  if (parsed.outcome == Parsed::kError) {
    err("id3v1: " + parsed.text + "\nRun with --help for the commands and their options.\n");
    return kUsageError;
  }

  const auto pages = ResolveCodePages(o);
  if (!pages) {
    err("id3v1: " + pages.error() + "\n");
    return kUsageError;
  }
  if (o.command == Command::kRecode) return RunRecode(o, *pages, out, err);

  const InspectRequest request{.option = pages->option, .fallback = pages->fallback};
  Runner runner(o, request, out, err);
  switch (o.command) {
  case Command::kShow: return runner.Show();
  case Command::kSet: return runner.Set();
  case Command::kRemove: return runner.Remove();
  case Command::kNone:
  case Command::kGenres:
  case Command::kRecode: break;
  }
  std::string list;
  for (std::int16_t i = 0; i < kGenreCount; ++i)
    list += std::to_string(i) + '\t' + GenreName(i) + '\n';
  out(list);
  return kAllDone;
}

} // namespace id3::cli
