#include "editor/form_model.h"

#include "mpeginfo/frame_header.h"
#include "mpeginfo/mp3info.h"
#include "tagstore/genres.h"
#include "tools/codepage.h"
#include "tools/paths.h"
#include "tools/text.h"

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

std::size_t TextLimit(TextIndex box, const TagFields& loaded) {
  if (box == kYear) return kYearLimit;
  if (box == kComment && loaded.track) return record::kV11CommentWidth;
  return kTextLimit;
}

TagFields FieldsToSave(const TagInputs& inputs, const TagFields& loaded) {
  TagFields tag;
  tag.marker = "TAG";
  tag.album = inputs.text[kAlbum];
  tag.artist = inputs.text[kArtist];
  tag.comment = inputs.text[kComment];
  tag.title = inputs.text[kTitle];
  tag.year = inputs.text[kYear];
  tag.genre = inputs.genre_chosen ? inputs.genre_text : loaded.genre;
  tag.genre_byte = loaded.genre_byte;
  tag.track = loaded.track;
  return tag;
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
  case TagError::OnlyTag:
    return failure("Error saving data!\r\nThe file holds nothing but the tag.");
  case TagError::IoError: break;
  }
  return failure("Error saving data!\r\nThe disk reported an error.");
}

std::optional<Message> SaveRefusal(bool genre_selected, const std::string& current_file) {
  if (!genre_selected) return kSelectGenre;
  return DeleteRefusal(current_file);
}

std::optional<Message> DeleteRefusal(const std::string& current_file) {
  if (current_file.empty()) return kNoFileOpen;
  if (!FileExists(current_file)) return SaveFailure(TagError::NotFound);
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
      mpeg::MpegVersionText(info.MPEGVer(), decimal_separator),
  };
}

} // namespace id3::form
