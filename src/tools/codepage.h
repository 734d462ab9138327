// The single-byte (ANSI) code page in which an ID3v1 record stores its text.
//
// Text is UTF-8 everywhere else in the program; it meets a code page only where
// the tag record meets the file, and the code page is always passed explicitly.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace id3 {

class CodePage {
public:
  // The system's ANSI code page on Windows; Windows-1252 elsewhere.
  static CodePage SystemDefault();
  // Windows-1252, the same on every platform.
  static CodePage Windows1252();
  // A code page by name ("windows-1252", "cp1252", "1252", "ISO-8859-15", ...);
  // nothing when the platform does not know it.
  static std::optional<CodePage> Named(std::string_view name);

  const std::string& Name() const { return name_; }

  // Bytes of the code page to UTF-8.
  std::string Decode(std::string_view bytes) const;
  // UTF-8 to bytes of the code page; a character the code page lacks becomes
  // '?'.
  std::string Encode(std::string_view utf8) const;
  // Encode, cut to at most width bytes without splitting a character.
  std::string EncodeFit(std::string_view utf8, std::size_t width) const;
  // The longest start of bytes of the code page, at most width long, that does
  // not end inside a character.
  std::string_view FitBytes(std::string_view bytes, std::size_t width) const;

private:
  enum class Kind { Windows1252, Platform };
  CodePage(Kind kind, std::string name, unsigned id = 0)
      : kind_(kind), name_(std::move(name)), id_(id) {}

  // Platform conversions of one whole text: iconv elsewhere, the Win32 code
  // page functions on Windows.
  std::string PlatformDecode(std::string_view bytes) const;
  std::string PlatformEncode(std::string_view utf8) const;
  static std::optional<CodePage> PlatformNamed(std::string_view name);
  static CodePage PlatformDefault();

  Kind kind_;
  std::string name_;
  unsigned id_; // the Windows code page number where one is known, else 0
};

// UTF-8 helpers shared by the code page and the command line.
namespace utf8 {
// Length in bytes of the UTF-8 sequence that starts with lead byte b (1 for a
// stray continuation byte, so that malformed text still advances).
std::size_t SequenceLength(unsigned char b);
// Number of code points.
std::size_t Count(std::string_view text);
// The first n code points.
std::string_view Prefix(std::string_view text, std::size_t n);
// Length of the run of ASCII bytes at the start of text.
std::size_t AsciiRun(std::string_view text);
// Length of the well-formed multi-byte sequence at text[i], 0 when there is
// none (an ASCII byte, an overlong form, a surrogate, past U+10FFFF, cut).
std::size_t WellFormedAt(std::string_view text, std::size_t i);
// The text with each byte that starts no well-formed sequence replaced by
// U+FFFD.
std::string MakeWellFormed(std::string_view text);
// Appends the code point (at most U+10FFFF) as UTF-8.
void Append(std::string& out, char32_t cp);
} // namespace utf8

} // namespace id3
