#include "tagstore/codepage_choice.h"

#include "tools/codepage_candidates.h"

#include <algorithm>
#include <array>

namespace id3 {
namespace {

constexpr unsigned char kFirstNonAscii = 0x80;

// A text field of the record as the file holds it, its whole width.
struct Slot {
  TextField field;
  std::string_view bytes;
};

bool HasTrack(const TagRecord& rec) {
  return rec[record::kV11ZeroOffset] == 0 && rec[record::kTrackOffset] != 0;
}

std::string_view Bytes(const TagRecord& rec, std::size_t offset, std::size_t width) {
  return {reinterpret_cast<const char*>(rec.data()) + offset, width};
}

std::array<Slot, 5> Slots(const TagRecord& rec) {
  using namespace record;
  const std::size_t comment_width = HasTrack(rec) ? kV11CommentWidth : kCommentWidth;
  return {{{TextField::kTitle, Bytes(rec, kTitleOffset, kTitleWidth)},
           {TextField::kArtist, Bytes(rec, kArtistOffset, kArtistWidth)},
           {TextField::kAlbum, Bytes(rec, kAlbumOffset, kAlbumWidth)},
           {TextField::kYear, Bytes(rec, kYearOffset, kYearWidth)},
           {TextField::kComment, Bytes(rec, kCommentOffset, comment_width)}}};
}

// The field's text in the ID3v2 tag, or in the edit; none for the year, which
// is digits in every code page.
template <typename Texts> auto* TextOf(Texts& texts, TextField field) {
  switch (field) {
  case TextField::kTitle: return &texts.title;
  case TextField::kArtist: return &texts.artist;
  case TextField::kAlbum: return &texts.album;
  case TextField::kComment: return &texts.comment;
  case TextField::kYear: break;
  }
  return static_cast<decltype(&texts.title)>(nullptr);
}

bool IsAscii(std::string_view bytes) { return utf8::AsciiRun(bytes) == bytes.size(); }

// True when every byte above 127 starts or continues a well-formed UTF-8
// sequence.
bool IsUtf8Shaped(std::string_view bytes) {
  for (std::size_t i = 0; i < bytes.size();) {
    if (static_cast<unsigned char>(bytes[i]) < kFirstNonAscii) {
      ++i;
      continue;
    }
    const std::size_t n = utf8::WellFormedAt(bytes, i);
    if (n == 0) return false;
    i += n;
  }
  return true;
}

// The candidates as code pages, in CandidateCodePages' order; nothing for
// one the platform does not know.
const std::vector<std::optional<CodePage>>& CandidatePages() {
  static const std::vector<std::optional<CodePage>> pages = [] {
    std::vector<std::optional<CodePage>> out;
    for (const CandidateCodePage& c : CandidateCodePages()) out.push_back(CodePage::Named(c.name));
    return out;
  }();
  return pages;
}

std::string NameOf(const CodePage& cp) {
  const CandidateCodePage* c = FindCandidate(cp.Name());
  return c ? std::string(c->name) : cp.Name();
}

// A field's text, cleaned of its padding, is what the ID3v2 text becomes in
// cp when `set --from-id3v2` writes it into the field's width.
bool Written(const CodePage& cp, std::string_view cleaned, const std::string& text,
             std::size_t width) {
  return CleanTagText(cp.EncodeFit(text, width)) == cleaned;
}

} // namespace

std::string_view FromName(CodePageFrom from) {
  switch (from) {
  case CodePageFrom::kOption: return "option";
  case CodePageFrom::kId3v2: return "id3v2";
  case CodePageFrom::kUtf8: return "utf-8";
  case CodePageFrom::kDefault: break;
  }
  return "default";
}

CodePageChoice ChooseCodePage(const TagRecord& rec, const Id3v2Texts& id3v2,
                              const std::optional<CodePage>& option, const CodePage& fallback) {
  if (option) return {*option, CodePageFrom::kOption, NameOf(*option)};
  const CodePageChoice by_default{fallback, CodePageFrom::kDefault, NameOf(fallback)};
  const auto slots = Slots(rec);
  if (std::ranges::all_of(slots, [](const Slot& s) { return IsAscii(s.bytes); })) return by_default;

  struct Evidence {
    std::string cleaned;
    const std::string* text;
    std::size_t width;
  };
  std::vector<Evidence> evidence;
  for (const Slot& s : slots) {
    const auto* text = TextOf(id3v2, s.field);
    if (text && *text && !IsAscii(s.bytes))
      evidence.push_back({CleanTagText(s.bytes), &**text, s.bytes.size()});
  }
  const auto fits = [&](const CodePage& cp) {
    return !evidence.empty() && std::ranges::all_of(evidence, [&](const Evidence& e) {
      return Written(cp, e.cleaned, *e.text, e.width);
    });
  };
  // The fallback first, so that the first candidate that fits after it wins.
  const CandidateCodePage* fallback_candidate = FindCandidate(fallback.Name());
  if (fallback_candidate && fits(fallback)) {
    return {fallback, CodePageFrom::kId3v2, std::string(fallback_candidate->name)};
  }
  const auto candidates = CandidateCodePages();
  const auto& pages = CandidatePages();
  for (std::size_t i = 0; i < candidates.size(); ++i) {
    if (&candidates[i] != fallback_candidate && pages[i] && fits(*pages[i]))
      return {*pages[i], CodePageFrom::kId3v2, std::string(candidates[i].name)};
  }
  if (std::ranges::all_of(slots, [](const Slot& s) { return IsUtf8Shaped(s.bytes); })) {
    const CandidateCodePage& utf8 = CandidateCodePages().back();
    if (const auto& page = CandidatePages().back())
      return {*page, CodePageFrom::kUtf8, std::string(utf8.name)};
  }
  return by_default;
}

RecodedRecord RecodeRecord(const TagRecord& rec, const CodePage& from, const CodePage& to) {
  TagEdit edit;
  RecodedRecord out{rec, {}};
  for (const Slot& s : Slots(rec)) {
    auto* text = TextOf(edit, s.field);
    if (!text) continue;
    const std::string before = from.Decode(CleanTagText(s.bytes));
    out.fields.push_back({s.field, before, before, false, false});
    if (!IsAscii(s.bytes)) *text = before;
  }
  EditedRecord edited = ApplyEdit(rec, edit, to);
  out.record = edited.record;
  for (const FieldWritten& w : edited.fields) {
    for (RecodedField& f : out.fields) {
      if (f.field != w.field) continue;
      f.after = w.stored;
      f.replaced = w.replaced;
      f.cut = w.cut;
    }
  }
  return out;
}

} // namespace id3
