// A frame's data as its flags leave it, made readable: unsynchronisation
// undone, zlib compression inflated, and the text inside decoded. Pure
// functions over bytes.
#pragma once

#include "id3v2/header.h"
#include "tools/codepage.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace id3::id3v2 {

// Every 0xFF 0x00 made 0xFF again: the unsynchronisation scheme put the zero
// behind each 0xFF that a frame sync or another such pair would have followed.
std::vector<std::uint8_t> Resynchronise(std::span<const std::uint8_t> bytes);

// A text frame larger than this, as stored or as inflated, is not read: no
// tag holds a title of a megabyte, and a broken size must not cost one.
constexpr std::size_t kMaxTextData = 1 << 20;

// The data of a frame behind its prefix: resynchronised and inflated as the
// prefix says, into scratch where it has to be changed. Nothing for an
// encrypted frame, data that does not inflate, or more than kMaxTextData.
std::optional<std::span<const std::uint8_t>> DecodeFrameData(const FramePrefix& prefix,
                                                             std::span<const std::uint8_t> body,
                                                             std::vector<std::uint8_t>& scratch);

// The first byte of a text frame's data names the encoding of its strings.
enum class Encoding : std::uint8_t { kLatin1 = 0, kUtf16 = 1, kUtf16Be = 2, kUtf8 = 3 };
constexpr std::uint8_t kLastEncoding = 3;

// Only 2.4 puts several values in a frame, one behind the other; in 2.2 and
// 2.3 the first terminator ends the text, and what follows is padding or junk.
enum class Values : std::uint8_t { kSeveral, kFirst };
constexpr Values ValuesOf(std::uint8_t major) {
  return major >= 4 ? Values::kSeveral : Values::kFirst;
}

// The values of a text frame (its data, encoding byte first): its non-empty
// strings, in order, each ended by a terminator (one zero byte, or two at an
// even offset in UTF-16) or by the end of the data; with kFirst only the
// first. UTF-16 text takes its byte order from its own BOM, else from the
// frame's first string's, else little-endian; an odd trailing byte is
// dropped. Latin-1 is read in the code page given, since many taggers stored
// the system's code page there, unless the bytes are not text of that code
// page: then it is read as the Latin-1 the frame says it is. What does not
// decode becomes U+FFFD. Nothing for an encoding byte that names no encoding.
std::optional<std::vector<std::string>> TextValues(std::span<const std::uint8_t> data,
                                                   const CodePage& cp,
                                                   Values values = Values::kSeveral);

// A comment frame: encoding, language (3 bytes), a description string, then
// the text.
namespace comment {
constexpr std::size_t kLanguageWidth = 3;
}
struct Comment {
  std::string language; // as stored, 3 bytes of Latin-1
  std::string description;
  std::vector<std::string> text; // its non-empty strings
  bool operator==(const Comment&) const = default;
};
std::optional<Comment> CommentOf(std::span<const std::uint8_t> data, const CodePage& cp,
                                 Values values = Values::kSeveral);

} // namespace id3::id3v2
