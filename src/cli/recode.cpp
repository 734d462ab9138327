#include "cli/recode.h"

#include "inspect/inspection.h"
#include "tagstore/codepage_choice.h"
#include "tools/text.h"

#include <algorithm>
#include <expected>

namespace id3::cli {
namespace {

// What recode needs of a file: its record, what its ID3v2 tag says the
// record's texts are, and its length, so that a file changed meanwhile is
// left alone.
struct Read {
  TagRecord record;
  Id3v2Texts id3v2;
  std::uint64_t file_size;
};

// The file is inspected, and closed again, before anything is written.
std::expected<Read, std::string> ReadFile(const std::string& path, const CodePage& fallback) {
  std::vector<std::uint8_t> windows;
  const auto in = InspectFile(path, {.option = std::nullopt, .fallback = fallback}, windows);
  if (!in) return std::unexpected(std::string(io::Describe(in.error())));
  if (in->end.unclear)
    return std::unexpected("the blocks at its end cannot be told apart (" + *in->end.unclear +
                           "); left as it is");
  if (!in->end.record) return std::unexpected(std::string("no ID3v1 tag; left as it is"));
  Read read{*in->end.record, {}, in->file_size};
  // An ID3v2 tag that cannot be read is no evidence, not a failure: the
  // record is what is recoded.
  if (const auto& p = in->proposal) read.id3v2 = {p->title, p->artist, p->album, p->comment};
  return read;
}

std::string_view Reason(CodePageFrom from) {
  switch (from) {
  case CodePageFrom::kOption: return "as given";
  case CodePageFrom::kId3v2: return "from the ID3v2 tag";
  case CodePageFrom::kUtf8: return "UTF-8";
  case CodePageFrom::kDefault: break;
  }
  return "default";
}

// The captions of show and of the editor window.
std::string_view Caption(TextField field) {
  switch (field) {
  case TextField::kTitle: return "Title";
  case TextField::kArtist: return "Artist";
  case TextField::kAlbum: return "Album";
  case TextField::kYear: return "Year";
  case TextField::kComment: break;
  }
  return "Note";
}

class Recoder {
public:
  Recoder(const Options& o, const CodePages& pages, const CodePage& to, const Output& out,
          const Output& err)
      : o_(o), pages_(pages), to_(to), out_(out), err_(err) {}

  void Recode(const std::string& file, const std::optional<CodePage>& from) {
    if (!o_.any_name && !text::HasMp3Extension(file)) return Fail(file, "not an .mp3 name");
    const auto read = ReadFile(file, pages_.fallback);
    if (!read) return Fail(file, read.error());
    const CodePageChoice choice = ChooseCodePage(read->record, read->id3v2, from, pages_.fallback);
    const RecodedRecord recoded = RecodeRecord(read->record, choice.code_page, to_);
    if (!Accept(file, recoded)) return;
    if (o_.dry_run) {
      std::string text = file + "\nCode page: " + choice.name + " (" +
                         std::string(Reason(choice.from)) + ") -> " + to_.Name() + "\n";
      for (const RecodedField& f : recoded.fields)
        text += std::string(Caption(f.field)) + ": " + f.before + " -> " + f.after + "\n";
      out_(text);
      return;
    }
    if (recoded.record == read->record) return;
    if (auto written = TryWriteRecord(file, recoded.record, TagEdit{}, read->file_size); !written)
      Fail(file, Describe(written.error()));
  }

  int Status() const { return failed_ ? kSomeFailed : kAllDone; }

private:
  // A field that lost characters or was cut is a warning, or with --strict
  // a failure that leaves the file alone.
  bool Accept(const std::string& file, const RecodedRecord& recoded) {
    bool accepted = true;
    for (const RecodedField& f : recoded.fields) {
      std::vector<std::string> problems;
      if (f.replaced) problems.push_back("has characters that " + to_.Name() + " lacks");
      if (f.cut) problems.push_back("needs more bytes in " + to_.Name() + " than the field holds");
      for (const std::string& problem : problems) {
        const std::string what = std::string(FieldName(f.field)) + " " + problem;
        if (o_.strict) {
          Fail(file, what + "; not written (--strict)");
          accepted = false;
        } else {
          err_("id3v1: warning: " + file + ": " + what + "; stored as \"" + f.after + "\"\n");
        }
      }
    }
    return accepted;
  }

  void Fail(const std::string& file, std::string_view reason) {
    err_("id3v1: " + file + ": " + std::string(reason) + "\n");
    failed_ = true;
  }

  const Options& o_;
  const CodePages& pages_;
  const CodePage& to_;
  const Output& out_;
  const Output& err_;
  bool failed_ = false;
};

} // namespace

int RunRecode(const Options& o, const CodePages& pages, const Output& out, const Output& err) {
  const auto to = CodePage::Named(o.to);
  std::optional<CodePage> from = pages.option;
  if (!o.from.empty()) from = CodePage::Named(o.from);
  for (const auto& [named, name] :
       {std::pair{to.has_value(), &o.to}, {from.has_value(), &o.from}}) {
    if (named || name->empty()) continue;
    err("id3v1: unknown code page: " + *name + "\n");
    return kUsageError;
  }
  Recoder recoder(o, pages, *to, out, err);
  for (const std::string& file : o.files) recoder.Recode(file, from);
  return recoder.Status();
}

} // namespace id3::cli
