#include "editor/form_model.h"

#include "mpeginfo/mp3info.h"
#include "tagstore/genres.h"
#include "tools/codepage.h"
#include "tools/paths.h"

#include <algorithm>
#include <cstdio>

namespace id3::form {

namespace {

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Position of needle in text ignoring the letter case of ASCII letters, from
// pos on. The option is plain ASCII, and a byte of a UTF-8 sequence is never
// an ASCII letter, so byte-wise comparison is exact.
std::size_t FindIgnoringCase(std::string_view text, std::string_view needle, std::size_t pos) {
  if (needle.size() > text.size()) return std::string_view::npos;
  for (std::size_t i = pos; i + needle.size() <= text.size(); ++i) {
    std::size_t k = 0;
    while (k < needle.size() && LowerAscii(text[i + k]) == LowerAscii(needle[k])) ++k;
    if (k == needle.size()) return i;
  }
  return std::string_view::npos;
}

} // namespace

std::string Caption(const Version& version) {
  return std::string(kAppTitle) + " v" + std::to_string(version.major) + "." +
         std::to_string(version.minor) + "." + std::to_string(version.revision);
}

Argument CleanArgument(std::string_view text) {
  static constexpr std::string_view kNoPlay = " -noplay";
  Argument arg;
  std::string kept;
  std::size_t from = 0;
  for (std::size_t at = FindIgnoringCase(text, kNoPlay, 0); at != std::string_view::npos;
       at = FindIgnoringCase(text, kNoPlay, from)) {
    arg.no_play = true;
    kept.append(text.substr(from, at - from));
    from = at + kNoPlay.size();
  }
  kept.append(text.substr(from));
  for (char c : kept)
    if (c != '"') arg.path.push_back(c);
  return arg;
}

bool IsAcceptedPath(std::string_view path) {
  static constexpr std::string_view kExtension = ".mp3";
  if (path.size() < kExtension.size()) return false;
  return FindIgnoringCase(path.substr(path.size() - kExtension.size()), kExtension, 0) == 0;
}

std::string ProposedTitle(std::string_view path) {
  const std::string name = StripExtension(FileNameOf(std::string(path)));
  return std::string(utf8::Prefix(name, kTextLimit));
}

bool PreferenceChecked(std::string_view stored) {
  const auto first = stored.find_first_not_of(' ');
  if (first == std::string_view::npos) return false;
  stored = stored.substr(first, stored.find_last_not_of(' ') - first + 1);
  return stored == "1";
}

std::string PreferenceText(bool checked) { return checked ? "1" : "0"; }

TagInputs ShownInputs(const TagFields& tag, std::string_view path) {
  TagInputs in;
  in.text[kAlbum] = tag.album;
  in.text[kArtist] = tag.artist;
  in.text[kComment] = tag.comment;
  in.text[kTitle] = tag.title.empty() ? ProposedTitle(path) : tag.title;
  in.text[kYear] = tag.year;
  in.genre_index = GenreIndex(tag.genre);
  return in;
}

std::size_t CommentLimit(const TagFields& loaded) {
  return loaded.track ? record::kV11CommentWidth : kTextLimit;
}

TagFields FieldsToSave(const TagInputs& inputs, const TagFields& loaded, int loaded_genre_index) {
  TagFields tag;
  tag.marker = "TAG";
  tag.album = inputs.text[kAlbum];
  tag.artist = inputs.text[kArtist];
  tag.comment = inputs.text[kComment];
  tag.title = inputs.text[kTitle];
  tag.year = inputs.text[kYear];
  tag.genre = inputs.genre_text;
  tag.track = loaded.track;
  const bool nameless_genre_untouched =
      loaded.HasTag() && loaded.genre.empty() && inputs.genre_index == loaded_genre_index;
  if (nameless_genre_untouched) {
    tag.genre.clear();
    tag.genre_byte = loaded.genre_byte;
  }
  return tag;
}

std::optional<Message> SaveRefusal(bool genre_selected, const std::string& current_file) {
  if (!genre_selected) return kSelectGenre;
  return DeleteRefusal(current_file);
}

std::optional<Message> DeleteRefusal(const std::string& current_file) {
  if (current_file.empty()) return kNoFileOpen;
  if (!FileExists(current_file)) return kErrorSaving;
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

std::string MpegVersionText(float version, std::string_view decimal_separator) {
  // "%g" writes 1, 2 and 2.5 as short as std::to_chars would, without the
  // 180 KB of tables that std::to_chars for floating point adds to the program.
  // No float needs more than 13 characters in it.
  std::array<char, 32> buf{};
  const int length = std::snprintf(buf.data(), buf.size(), "%g", static_cast<double>(version));
  std::string text;
  for (const char c : std::string_view(buf.data(), static_cast<std::size_t>(std::max(length, 0)))) {
    if (c == '.')
      text += decimal_separator;
    else
      text.push_back(c);
  }
  return text;
}

std::array<std::string, 8> AudioValues(const clsMP3Info& info, std::uint64_t file_size,
                                       std::string_view decimal_separator) {
  return {
      std::to_string(info.BitRate()),
      info.Emphasis(),
      info.FormatTime(),
      std::to_string(info.Frequency()),
      std::to_string(static_cast<int>(info.Layers())),
      FormatFileSize(static_cast<double>(file_size)),
      info.ChannelMode(),
      MpegVersionText(info.MPEGVer(), decimal_separator),
  };
}

} // namespace id3::form
