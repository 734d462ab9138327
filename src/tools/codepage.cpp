#include "tools/codepage.h"

#include "tools/text.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <iterator>

namespace id3 {
namespace {

// Windows-1252 differs from ISO-8859-1 only in 0x80-0x9F. The five bytes that
// Windows-1252 leaves undefined map to the C1 control of the same number, as
// Windows itself does, so that every byte reads and writes back unchanged.
constexpr char32_t kCp1252High[] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// What malformed UTF-8 stands for: a character no code page holds, stored as
// the '?' that a character the code page lacks becomes.
constexpr char32_t kMalformed = '?';

// Decodes the code point at text[i], advancing i.
char32_t NextCodePoint(std::string_view text, std::size_t& i) {
  const auto b0 = static_cast<unsigned char>(text[i]);
  const std::size_t len = utf8::SequenceLength(b0);
  if (len == 1) {
    ++i;
    return b0 < 0x80 ? b0 : kMalformed;
  }
  if (i + len > text.size()) {
    ++i;
    return kMalformed;
  }
  char32_t cp = b0 & (0x7F >> len);
  for (std::size_t k = 1; k < len; ++k) {
    const auto b = static_cast<unsigned char>(text[i + k]);
    if ((b & 0xC0) != 0x80) {
      ++i;
      return kMalformed;
    }
    cp = (cp << 6) | (b & 0x3F);
  }
  i += len;
  return cp;
}

} // namespace

namespace utf8 {

std::size_t SequenceLength(unsigned char b) {
  if (b >= 0xC2 && b <= 0xDF) return 2;
  if (b >= 0xE0 && b <= 0xEF) return 3;
  if (b >= 0xF0 && b <= 0xF4) return 4;
  return 1;
}

std::size_t Count(std::string_view text) {
  std::size_t n = 0;
  for (std::size_t i = 0; i < text.size(); ++n) NextCodePoint(text, i);
  return n;
}

std::string_view Prefix(std::string_view text, std::size_t n) {
  std::size_t i = 0;
  for (std::size_t k = 0; k < n && i < text.size(); ++k) NextCodePoint(text, i);
  return text.substr(0, i);
}

std::size_t AsciiRun(std::string_view text) {
  constexpr std::uint64_t kHighBits = 0x8080808080808080;
  std::size_t n = 0;
  // Eight bytes at a time, while none has its top bit set.
  for (std::uint64_t word; n + sizeof word <= text.size(); n += sizeof word) {
    std::memcpy(&word, text.data() + n, sizeof word);
    if (word & kHighBits) break;
  }
  while (n < text.size() && static_cast<unsigned char>(text[n]) < 0x80) ++n;
  return n;
}

std::size_t WellFormedAt(std::string_view text, std::size_t i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[i + k]); };
  const unsigned char b0 = byte(0);
  if (b0 < 0xC2 || b0 > 0xF4) return 0;
  const std::size_t n = b0 >= 0xF0 ? 4 : b0 >= 0xE0 ? 3 : 2;
  if (i + n > text.size()) return 0;
  // The second byte's range excludes overlong forms, surrogates and code
  // points past U+10FFFF.
  const unsigned char lo = b0 == 0xE0 ? 0xA0 : b0 == 0xF0 ? 0x90 : 0x80;
  const unsigned char hi = b0 == 0xED ? 0x9F : b0 == 0xF4 ? 0x8F : 0xBF;
  if (byte(1) < lo || byte(1) > hi) return 0;
  for (std::size_t k = 2; k < n; ++k)
    if ((byte(k) & 0xC0) != 0x80) return 0;
  return n;
}

std::string MakeWellFormed(std::string_view text) {
  constexpr char32_t kReplacement = 0xFFFD;
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    if (const std::size_t ascii = AsciiRun(text.substr(i))) {
      out.append(text, i, ascii);
      i += ascii;
    } else if (const std::size_t n = WellFormedAt(text, i)) {
      out.append(text, i, n);
      i += n;
    } else {
      Append(out, kReplacement);
      ++i;
    }
  }
  return out;
}

void Append(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

} // namespace utf8

CodePage CodePage::Windows1252() { return CodePage(Kind::Windows1252, "windows-1252"); }

CodePage CodePage::SystemDefault() { return PlatformDefault(); }

std::optional<CodePage> CodePage::Named(std::string_view name) {
  for (const std::string_view alias : {"windows-1252", "cp1252", "1252"})
    if (text::EqualIgnoringCase(name, alias)) return Windows1252();
  return PlatformNamed(name);
}

std::string CodePage::Decode(std::string_view bytes) const {
  if (kind_ == Kind::Platform) return PlatformDecode(bytes);
  std::string out;
  out.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size();) {
    // A run of ASCII, the usual text, goes in at once.
    const std::size_t end = i + utf8::AsciiRun(bytes.substr(i));
    out.append(bytes, i, end - i);
    if (end == bytes.size()) break;
    const auto b = static_cast<unsigned char>(bytes[end]);
    utf8::Append(out, b < 0xA0 ? kCp1252High[b - 0x80] : char32_t{b});
    i = end + 1;
  }
  return out;
}

std::string CodePage::Encode(std::string_view utf8) const {
  if (kind_ == Kind::Platform) return PlatformEncode(utf8);
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    // A run of ASCII, the usual text, goes in at once.
    const std::size_t ascii = utf8::AsciiRun(utf8.substr(i));
    out.append(utf8, i, ascii);
    i += ascii;
    if (i == utf8.size()) break;
    const char32_t cp = NextCodePoint(utf8, i);
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
      out += static_cast<char>(cp);
      continue;
    }
    const auto* hit = std::ranges::find(kCp1252High, cp);
    out += hit != std::end(kCp1252High) ? static_cast<char>(0x80 + (hit - std::begin(kCp1252High)))
                                        : '?';
  }
  return out;
}

std::string CodePage::EncodeFit(std::string_view utf8, std::size_t width) const {
  // Every character takes at least one byte, so no more than width of them fit.
  std::string_view text = utf8::Prefix(utf8, width);
  std::string bytes = Encode(text);
  while (bytes.size() > width) {
    text = utf8::Prefix(text, utf8::Count(text) - 1);
    bytes = Encode(text);
  }
  return bytes;
}

std::string_view CodePage::FitBytes(std::string_view bytes, std::size_t width) const {
  // A cut between two characters decodes, in its two halves, to the whole.
  const std::string whole = Decode(bytes);
  std::size_t n = std::min(width, bytes.size());
  // No later than at 0, where the first half is empty.
  while (Decode(bytes.substr(0, n)) + Decode(bytes.substr(n)) != whole) --n;
  return bytes.substr(0, n);
}

} // namespace id3
