// What id3v1 says about one file: the tag and the audio facts, as text blocks
// with the editor window's captions or as one JSON object.
#pragma once

#include "id3v2/reader.h"
#include "mpeginfo/audio_facts.h"
#include "tagstore/tag.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace id3::cli {

struct FileReport {
  std::string file;
  std::optional<std::string> error; // set when the file could not be read at all
  std::optional<TagFields> tag;     // empty when the file has no tag
  id3v2::Found id3v2;
  AudioFacts audio;
  std::optional<std::uint64_t> file_size;
};

// Opens the file once and reads its head and its tail once, into windows (kept
// by the caller from file to file); the tags and the audio facts come from
// those bytes, and only an ID3v2 tag larger than the head window reads more
// (its frame headers behind the window, and the text frames there).
FileReport Inspect(const std::string& path, const CodePage& cp, std::vector<std::uint8_t>& windows);

// The block of "Caption: value" lines, ending in a newline.
std::string TextBlock(const FileReport& report);

// Its lines of the ID3v1 tag, with the window's captions: "Title: ...",
// "Artist: ", "Album: ", "Year: ", "Note: ", "Track: " where there is one,
// "Genre: " (the number in parentheses where it has no name).
std::string TagLines(const TagFields& tag);

// One JSON object, on one line without its newline.
std::string JsonLine(const FileReport& report);

} // namespace id3::cli
