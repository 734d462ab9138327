#include "id3v2/frame_data.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string_view>
#include <utility>

namespace id3::id3v2 {
namespace {

constexpr std::uint8_t kSync = 0xFF;
constexpr char32_t kReplacement = 0xFFFD;
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr char32_t kHighSurrogate = 0xD800, kLowSurrogate = 0xDC00, kSurrogateEnd = 0xE000;
constexpr std::uint8_t kBomBig[] = {0xFE, 0xFF};
constexpr std::uint8_t kBomLittle[] = {0xFF, 0xFE};
constexpr std::size_t kInflateChunk = 16 * 1024;

struct InflateEnd {
  void operator()(z_stream* z) const { inflateEnd(z); }
};

// The zlib stream inflated into out, when it ends within limit bytes.
bool Inflate(std::span<const std::uint8_t> in, std::size_t limit, std::vector<std::uint8_t>& out) {
  z_stream z{};
  if (inflateInit(&z) != Z_OK) return false;
  const std::unique_ptr<z_stream, InflateEnd> owner(&z);
  z.next_in = const_cast<Bytef*>(in.data());
  z.avail_in = static_cast<uInt>(in.size());
  out.clear();
  for (;;) {
    const std::size_t done = out.size();
    if (done > limit) return false;
    out.resize(done + kInflateChunk);
    z.next_out = out.data() + done;
    z.avail_out = static_cast<uInt>(kInflateChunk);
    const int status = inflate(&z, Z_NO_FLUSH);
    out.resize(out.size() - z.avail_out);
    if (status == Z_STREAM_END) return out.size() <= limit;
    // Z_BUF_ERROR with input left cannot happen here: there was room for output.
    if (status != Z_OK) return false;
  }
}

std::string DecodeUtf16(std::span<const std::uint8_t> b, bool big_endian) {
  std::string out;
  out.reserve(b.size());
  const auto unit = [&](std::size_t i) -> char32_t {
    return big_endian ? char32_t(b[i]) << 8 | b[i + 1] : char32_t(b[i + 1]) << 8 | b[i];
  };
  for (std::size_t i = 0; i + 1 < b.size(); i += 2) {
    char32_t cp = unit(i);
    if (cp >= kHighSurrogate && cp < kSurrogateEnd) {
      const bool paired = cp < kLowSurrogate && i + 3 < b.size() && unit(i + 2) >= kLowSurrogate &&
                          unit(i + 2) < kSurrogateEnd;
      if (paired) {
        cp = 0x10000 + ((cp - kHighSurrogate) << 10) + (unit(i + 2) - kLowSurrogate);
        i += 2;
      } else {
        cp = kReplacement;
      }
    }
    utf8::Append(out, cp);
  }
  return out;
}

// Bytes that the code page leaves undefined come back as U+FFFD; such text
// was not written in that code page.
std::string DecodeLatin1Frame(std::string_view bytes, const CodePage& cp) {
  constexpr std::string_view kReplacementUtf8 = "\xEF\xBF\xBD";
  std::string text = cp.Decode(bytes);
  if (text.find(kReplacementUtf8) == std::string::npos ||
      bytes.find(kReplacementUtf8) != std::string_view::npos)
    return text;
  text.clear();
  for (const char b : bytes) utf8::Append(text, static_cast<unsigned char>(b));
  return text;
}

bool StartsWith(std::span<const std::uint8_t> b, const std::uint8_t (&prefix)[2]) {
  return b.size() >= 2 && b[0] == prefix[0] && b[1] == prefix[1];
}

// The strings of one frame, one after the other.
class StringReader {
public:
  StringReader(Encoding encoding, std::span<const std::uint8_t> data, const CodePage& cp)
      : encoding_(encoding), rest_(data), cp_(cp) {}
  std::string Next();
  // The non-empty strings from here to the end, or the next one alone.
  std::vector<std::string> Rest(Values wanted) {
    std::vector<std::string> values;
    while (!rest_.empty()) {
      std::string value = Next();
      if (!value.empty()) values.push_back(std::move(value));
      if (wanted == Values::kFirst) break;
    }
    return values;
  }

private:
  Encoding encoding_;
  std::span<const std::uint8_t> rest_;
  const CodePage& cp_;
  std::optional<bool> first_big_endian_;
  bool first_ = true;
};

std::string StringReader::Next() {
  std::span<const std::uint8_t> s = rest_;
  const bool wide = encoding_ == Encoding::kUtf16 || encoding_ == Encoding::kUtf16Be;
  const std::size_t unit = wide ? 2 : 1;
  std::size_t end = 0;
  if (!wide) {
    const void* zero = std::memchr(s.data(), 0, s.size());
    end = zero ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(zero) - s.data())
               : s.size();
  }
  while (end + unit <= s.size() && !(s[end] == 0 && s[end + unit - 1] == 0)) end += unit;
  if (end + unit <= s.size()) {
    rest_ = s.subspan(end + unit);
    s = s.first(end);
  } else {
    rest_ = {};
  }
  const bool first = std::exchange(first_, false);
  if (!wide) {
    const std::string_view bytes(reinterpret_cast<const char*>(s.data()), s.size());
    if (encoding_ == Encoding::kLatin1) return DecodeLatin1Frame(bytes, cp_);
    return utf8::MakeWellFormed(bytes.starts_with(kUtf8Bom) ? bytes.substr(kUtf8Bom.size())
                                                            : bytes);
  }
  std::optional<bool> big_endian;
  if (StartsWith(s, kBomBig)) big_endian = true;
  if (StartsWith(s, kBomLittle)) big_endian = false;
  if (big_endian) s = s.subspan(2);
  if (first) first_big_endian_ = big_endian;
  const bool default_order = encoding_ == Encoding::kUtf16Be || first_big_endian_.value_or(false);
  return DecodeUtf16(s, big_endian.value_or(default_order));
}

} // namespace

std::vector<std::uint8_t> Resynchronise(std::span<const std::uint8_t> bytes) {
  std::vector<std::uint8_t> out;
  out.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    out.push_back(bytes[i]);
    if (bytes[i] == kSync && i + 1 < bytes.size() && bytes[i + 1] == 0) ++i;
  }
  return out;
}

std::optional<std::span<const std::uint8_t>> DecodeFrameData(const FramePrefix& prefix,
                                                             std::span<const std::uint8_t> body,
                                                             std::vector<std::uint8_t>& scratch) {
  if (prefix.encrypted) return std::nullopt;
  std::span<const std::uint8_t> data = body.subspan(prefix.length);
  std::vector<std::uint8_t> resynchronised;
  if (prefix.unsynchronised) {
    resynchronised = Resynchronise(data);
    data = resynchronised;
  }
  if (prefix.compressed) {
    if (!Inflate(data, kMaxTextData, scratch)) return std::nullopt;
    return scratch;
  }
  if (data.size() > kMaxTextData) return std::nullopt;
  if (prefix.unsynchronised) {
    scratch = std::move(resynchronised);
    return scratch;
  }
  return data;
}

std::optional<std::vector<std::string>> TextValues(std::span<const std::uint8_t> data,
                                                   const CodePage& cp, Values values) {
  if (data.empty() || data[0] > kLastEncoding) return std::nullopt;
  return StringReader(static_cast<Encoding>(data[0]), data.subspan(1), cp).Rest(values);
}

std::optional<Comment> CommentOf(std::span<const std::uint8_t> data, const CodePage& cp,
                                 Values values) {
  if (data.size() < 1 + comment::kLanguageWidth || data[0] > kLastEncoding) return std::nullopt;
  Comment c;
  const auto language = data.subspan(1, comment::kLanguageWidth);
  c.language =
      cp.Decode(std::string_view(reinterpret_cast<const char*>(language.data()), language.size()));
  StringReader reader(static_cast<Encoding>(data[0]), data.subspan(1 + comment::kLanguageWidth),
                      cp);
  c.description = reader.Next();
  c.text = reader.Rest(values);
  return c;
}

} // namespace id3::id3v2
