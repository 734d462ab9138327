// What id3v1 says about one file: the tag and the audio facts, as text blocks
// with the editor window's captions or as one JSON object.
#pragma once

#include "id3v2/reader.h"
#include "inspect/inspection.h"
#include "mpeginfo/audio_facts.h"
#include "tagstore/codepage_choice.h"
#include "tagstore/tag.h"
#include "tagstore/trailing.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace id3::cli {

struct FileReport {
  std::string file;
  std::optional<std::string> error;        // set when the file could not be read at all
  std::optional<TagFields> tag;            // empty when the file has no tag; TAG+ joined in
  std::optional<CodePageChoice> code_page; // the tag's, where there is one
  std::vector<Block> trailing;             // from the audio's end to the file's end
  std::optional<std::string> unclear;      // what made the end unclear
  id3v2::Found id3v2;
  AudioFacts audio;
  std::optional<std::uint64_t> file_size;
};

// The file's inspection (InspectFile, with the audio facts) as a report.
FileReport Report(const std::string& path, const InspectRequest& request,
                  std::vector<std::uint8_t>& windows);

// The block of "Caption: value" lines, ending in a newline.
std::string TextBlock(const FileReport& report);

// Its lines of the ID3v1 tag, with the window's captions: "Title: ...",
// "Artist: ", "Album: ", "Year: ", "Note: ", "Track: " where there is one,
// "Genre: " (the number in parentheses where it has no name).
std::string TagLines(const TagFields& tag);

// One JSON object, on one line without its newline.
std::string JsonLine(const FileReport& report);

} // namespace id3::cli
