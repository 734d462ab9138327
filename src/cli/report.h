// What id3v1 says about one file: the tag and the audio facts, as text blocks
// with the editor window's captions or as one JSON object.
#pragma once

#include "mpeginfo/mp3info.h"
#include "tagstore/tag.h"

#include <cstdint>
#include <optional>
#include <string>

namespace id3::cli {

struct FileReport {
  std::string file;
  std::optional<std::string> error; // set when the file could not be read at all
  std::optional<TagFields> tag;     // empty when the file has no tag
  clsMP3Info audio;
  std::optional<std::uint64_t> file_size;
};

FileReport Inspect(const std::string& path, const CodePage& cp);

// The block of "Caption: value" lines, ending in a newline.
std::string TextBlock(const FileReport& report);

// One JSON object, on one line without its newline.
std::string JsonLine(const FileReport& report);

} // namespace id3::cli
