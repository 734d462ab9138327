// The tags around the audio of an MP3 file, as far as the audio facts need
// them: their lengths. Pure functions over bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace id3::mpeg {

// ID3v2, at the start of the file (and directly behind another ID3v2 tag):
//   0  3  "ID3"
//   3  2  version and revision, neither 0xFF
//   5  1  flags; bit 4 (0x10): a 10-byte footer follows the tag
//   6  4  size of the tag less header and footer, 28 bits synchsafe: 7 bits
//         in each byte, most significant first, the top bit always 0
constexpr std::size_t kId3v2HeaderSize = 10;
constexpr std::size_t kId3v2FooterSize = 10;
constexpr std::uint8_t kId3v2FooterFlag = 0x10;

// Whole length of the tag whose header is at the start of bytes: header, body
// and footer. 0 when the bytes are not an ID3v2 header.
std::uint64_t Id3v2TagLength(std::span<const std::uint8_t> bytes);

// What a reader of the ID3v1 tag should know of an ID3v2 tag beside it: it is
// there (players show it first), its version 2.major.revision and its length.
struct Id3v2Tag {
  std::uint8_t major = 0;
  std::uint8_t revision = 0;
  std::uint64_t length = 0;
};
std::optional<Id3v2Tag> ReadId3v2Tag(std::span<const std::uint8_t> bytes);

} // namespace id3::mpeg
