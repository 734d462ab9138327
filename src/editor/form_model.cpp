#include "editor/form_model.h"

#include "id3v2/to_id3v1.h"
#include "mpeginfo/audio_facts.h"
#include "mpeginfo/frame_header.h"
#include "tagstore/genres.h"
#include "tools/bytesource.h"
#include "tools/codepage.h"
#include "tools/codepage_candidates.h"
#include "tools/fileio.h"
#include "tools/paths.h"
#include "tools/text.h"

#include <algorithm>

namespace id3::form {

std::string Caption(const Version& version) {
  return std::string(kAppTitle) + " v" + std::to_string(version.major) + "." +
         std::to_string(version.minor) + "." + std::to_string(version.revision);
}

Argument CleanArgument(std::string_view text) {
  auto [no_play, rest] = text::TakeOptionWord(text, "-noplay", text::OptionAt::kAfterBlank);
  Argument arg{{}, no_play};
  for (char c : rest)
    if (c != '"') arg.path.push_back(c);
  return arg;
}

bool IsAcceptedPath(std::string_view path) { return text::HasMp3Extension(path); }

namespace {

bool PreferenceChecked(std::string_view stored) {
  const auto first = stored.find_first_not_of(' ');
  if (first == std::string_view::npos) return false;
  stored = stored.substr(first, stored.find_last_not_of(' ') - first + 1);
  return stored == "1";
}

std::string PreferenceText(bool checked) { return checked ? "1" : "0"; }

// The inputs in their order on screen, which Enter follows.
constexpr auto kEnterOrder =
    std::to_array<std::size_t>({kAlbum, kArtist, kGenreList, kComment, kTitle, kYear});

} // namespace

Preferences
ReadPreferences(const std::function<std::optional<std::string>(std::string_view key)>& stored) {
  const auto checked = [&](std::string_view key) {
    const auto text = stored(key);
    return text && PreferenceChecked(*text);
  };
  Preferences preferences;
  preferences.no_animations = checked(kNoAnimationsKey);
  preferences.no_file_info = checked(kNoFileInfoKey);
  return preferences;
}

std::array<StoredPreference, 2> StoredPreferences(const Preferences& preferences) {
  return {StoredPreference{kNoAnimationsKey, PreferenceText(preferences.no_animations)},
          StoredPreference{kNoFileInfoKey, PreferenceText(preferences.no_file_info)}};
}

std::size_t NextOnEnter(std::size_t input) {
  const auto at =
      static_cast<std::size_t>(std::ranges::find(kEnterOrder, input) - kEnterOrder.begin());
  return kEnterOrder[(at + 1) % kEnterOrder.size()];
}

namespace {

bool IsContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Each box's field, in the tag as read and in an edit.
constexpr std::array<std::string TagFields::*, kTextCount> kFieldOf = {
    &TagFields::album, &TagFields::artist, &TagFields::comment, &TagFields::title,
    &TagFields::year};
constexpr std::array<std::optional<std::string> TagEdit::*, kTextCount> kEditOf = {
    &TagEdit::album, &TagEdit::artist, &TagEdit::comment, &TagEdit::title, &TagEdit::year};

std::optional<Message> SaveRefusal(bool genre_selected, const std::string& current_file) {
  if (!genre_selected) return kSelectGenre;
  if (current_file.empty()) return kNoFileOpen;
  if (!FileExists(current_file)) return SaveFailure(TagError::NotFound);
  return std::nullopt;
}

} // namespace

BoxText FitBoxText(std::string_view before, std::string_view after, std::size_t caret,
                   std::size_t limit, const CodePage& cp) {
  // What stayed: the end the two share, not reaching back over the caret, then
  // the start they share; each between two characters.
  caret = std::min(caret, after.size());
  std::size_t tail = 0;
  const std::size_t most = std::min(before.size(), after.size());
  while (tail < most && tail < after.size() - caret &&
         before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
    ++tail;
  while (tail > 0 && IsContinuation(after[after.size() - tail])) --tail;
  std::size_t head = 0;
  while (head < most - tail && before[head] == after[head]) ++head;
  while (head > 0 && head != after.size() && IsContinuation(after[head])) --head;

  const std::string_view kept_head = after.substr(0, head),
                         kept_tail = after.substr(after.size() - tail);
  const std::string stored = cp.Decode(cp.Encode(after.substr(head, after.size() - head - tail)));
  const std::size_t kept = cp.Encode(kept_head).size() + cp.Encode(kept_tail).size();
  const std::string fitted = cp.EncodeFit(stored, limit > kept ? limit - kept : 0);
  const std::string_view inserted = utf8::Prefix(stored, utf8::Count(cp.Decode(fitted)));
  return {std::string(kept_head).append(inserted).append(kept_tail), head + inserted.size()};
}

Message SaveFailure(TagError error) {
  const auto failure = [](std::string_view text) {
    return Message{text, kAppTitle, Icon::Critical, Buttons::Ok};
  };
  switch (error) {
  case TagError::AccessDenied: return failure("Error saving data!\r\nThe file is read-only.");
  case TagError::InUse:
    return failure("Error saving data!\r\nThe file is in use by another program.");
  case TagError::NoSpace: return failure("Error saving data!\r\nThe disk is full.");
  case TagError::NotFound:
  case TagError::IsDirectory:
    return failure("Error saving data!\r\nThe file has been removed or moved.");
  case TagError::TooShort:
  case TagError::Changed:
    return failure("Error saving data!\r\nThe file was shortened or changed since it was loaded.");
  case TagError::UnclearEnd:
    return failure("Error saving data!\r\nThe blocks at the file's end cannot be told apart; it "
                   "was left as it is.");
  case TagError::OnlyTag:
    return failure("Error saving data!\r\nThe file holds nothing but the tag.");
  case TagError::IoError: break;
  }
  return failure("Error saving data!\r\nThe disk reported an error.");
}

namespace {

// The fallback's choice: named as ChooseCodePage names it.
CodePageChoice ByDefault(const CodePage& cp) {
  const CandidateCodePage* candidate = FindCandidate(cp.Name());
  return {cp, CodePageFrom::kDefault, candidate ? std::string(candidate->name) : cp.Name()};
}

// Why the load decided a code page, after its name in the Encoding menu.
std::string_view ReasonText(CodePageFrom from) {
  switch (from) {
  case CodePageFrom::kId3v2: return "from the ID3v2 tag";
  case CodePageFrom::kUtf8: return "the bytes are UTF-8";
  case CodePageFrom::kDefault: return "the system's code page";
  case CodePageFrom::kOption: break;
  }
  return "chosen";
}

} // namespace

Document::Document(CodePage cp) : cp_(std::move(cp)), decided_(ByDefault(cp_)), choice_(decided_) {}

std::optional<Message> Document::Load(std::string_view path) {
  if (!IsAcceptedPath(path)) {
    path_.clear();
    return kInvalidFile;
  }
  path_ = path;
  std::vector<std::uint8_t> windows;
  auto in = InspectFile(path_, {.option = std::nullopt, .fallback = cp_, .audio = true}, windows);
  std::optional<id3v2::Proposal> proposal;
  if (in) {
    record_ = in->end.record;
    size_ = in->file_size;
    decided_ = in->code_page;
    audio_ = std::move(in->audio);
    long_texts_ = std::move(in->long_texts);
    proposal = std::move(in->proposal);
  } else {
    record_ = std::nullopt;
    size_ = std::nullopt;
    decided_ = ByDefault(cp_);
    audio_ = AudioFacts{};
    long_texts_ = std::nullopt;
  }
  choice_ = decided_;
  read_ = record_ ? ParseTagRecord(*record_, InUse()) : TagFields{};
  shown_ = TagInputs{};
  proposed_ = {};
  for (std::size_t box = 0; box < kTextCount; ++box) shown_.text[box] = read_.*kFieldOf[box];
  // A genre byte without a name shows as the first entry, "Blues".
  shown_.genre_index = GenreIndex(read_.genre);
  if (!record_ && proposal) ProposeId3v2(*proposal);
  if (shown_.text[kTitle].empty()) Propose(kTitle, StripExtension(FileNameOf(path_)));
  return std::nullopt;
}

void Document::ProposeId3v2(const id3v2::Proposal& proposal) {
  const TagEdit e = EditFromProposal(proposal, {});
  for (const auto& [box, text] : {std::pair{kTitle, &e.title},
                                  {kArtist, &e.artist},
                                  {kAlbum, &e.album},
                                  {kYear, &e.year},
                                  {kComment, &e.comment}})
    if (*text) Propose(box, **text);
  if (e.genre) shown_.genre_index = *e.genre;
}

std::optional<std::string> Document::WholeText(TextIndex box) const {
  if (!long_texts_) return std::nullopt;
  const std::string* whole = box == kTitle    ? &long_texts_->title
                             : box == kArtist ? &long_texts_->artist
                             : box == kAlbum  ? &long_texts_->album
                                              : nullptr;
  if (!whole || *whole == read_.*kFieldOf[box]) return std::nullopt;
  return *whole;
}

void Document::Propose(TextIndex box, std::string_view text) {
  proposed_[box] = std::string(text);
  shown_.text[box] = FromOrigin(box);
}

std::string Document::FromOrigin(TextIndex box) const {
  if (const auto& text = proposed_[box])
    return FitBoxText("", *text, text->size(), Limit(box), InUse()).text;
  return read_.*kFieldOf[box];
}

std::vector<Document::Encoding> Document::EncodingList() const {
  std::vector<Encoding> list;
  for (const CandidateCodePage& c : CandidateCodePages())
    if (auto cp = CodePage::Named(c.name))
      list.push_back({std::move(*cp), std::string(c.name), std::string(c.display)});
  if (!FindCandidate(cp_.Name())) list.push_back({cp_, cp_.Name(), cp_.Name()});
  return list;
}

std::vector<EncodingItem> Document::Encodings() const {
  std::vector<EncodingItem> items;
  for (const Encoding& e : EncodingList()) {
    std::string text = e.display;
    if (e.name == decided_.name) text.append(" \u2014 ").append(ReasonText(decided_.from));
    items.push_back({std::move(text), e.name == choice_.name});
  }
  return items;
}

TagInputs Document::UseEncoding(std::size_t item, const TagInputs& inputs) {
  std::vector<Encoding> list = EncodingList();
  if (item >= list.size()) return inputs;
  choice_ = {std::move(list[item].code_page), CodePageFrom::kOption, list[item].name};
  if (record_) read_ = ParseTagRecord(*record_, InUse());
  TagInputs now = inputs;
  for (std::size_t i = 0; i < kTextCount; ++i) {
    const auto box = TextIndex(i);
    if (inputs.text[box] == shown_.text[box]) {
      shown_.text[box] = now.text[box] = FromOrigin(box);
    } else {
      const std::string& typed = inputs.text[box];
      now.text[box] = FitBoxText("", typed, typed.size(), Limit(box), InUse()).text;
    }
  }
  return now;
}

std::size_t Document::Limit(TextIndex box) const {
  switch (box) {
  case kYear: return record::kYearWidth;
  case kComment: return read_.track ? record::kV11CommentWidth : record::kCommentWidth;
  default: return record::kTitleWidth;
  }
}

BoxText Document::Fit(TextIndex box, std::string_view before, std::string_view after,
                      std::size_t caret) const {
  return FitBoxText(before, after, caret, Limit(box), InUse());
}

std::optional<Message> Document::Save(const TagInputs& inputs) const {
  if (const auto refusal = SaveRefusal(inputs.genre_index >= 0, path_)) return refusal;
  TagEdit edit;
  edit.marker = "TAG";
  for (std::size_t box = 0; box < kTextCount; ++box)
    if (inputs.text[box] != read_.*kFieldOf[box]) edit.*kEditOf[box] = inputs.text[box];
  // A new tag gets the genre on screen.
  if (inputs.genre_chosen || !record_)
    edit.genre = static_cast<std::uint8_t>(GenreIndex(inputs.genre_text));
  const auto written = TryWriteRecord(path_, ApplyEdit(record_, edit, InUse()).record, edit, size_);
  if (!written) return SaveFailure(written.error());
  return std::nullopt;
}

std::optional<Message> Document::DeleteRefusal() const { return SaveRefusal(true, path_); }

std::optional<Message> Document::Delete() const {
  const auto removed = TryRemoveTag(path_, size_);
  if (!removed) return SaveFailure(removed.error());
  return std::nullopt;
}

std::string AboutText(const Version& version) {
  const std::array<std::string, 9> lines{
      Caption(version),
      "",
      "Copyright (C) 2026 the Quelmo ID3TAG EDITOR contributors",
      "Written by the Quelmo ID3TAG EDITOR team",
      "",
      "",
      "This ID3Tag editor should comply with the id3v2.3.0 standard.",
      "However, if you find any incompatible situations or bugs, please contact:",
      "Quelmo Software, https://www.quelmo.example/",
  };
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += "\r\n";
    text += lines[i];
  }
  return text;
}

std::array<std::string, 8> AudioValues(const AudioFacts& info, std::uint64_t file_size,
                                       std::string_view decimal_separator) {
  return {
      std::to_string(info.BitRate()),
      info.Emphasis(),
      info.DurationText(),
      std::to_string(info.Frequency()),
      std::to_string(static_cast<int>(info.Layer())),
      FormatFileSize(static_cast<double>(file_size)),
      info.ChannelMode(),
      mpeg::MpegVersionText(info.MpegVersion(), decimal_separator),
  };
}

} // namespace id3::form
