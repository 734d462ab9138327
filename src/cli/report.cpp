#include "cli/report.h"

#include "cli/lines.h"

#include "id3v2/fields.h"
#include "mpeginfo/frame_header.h"
#include "tools/bytesource.h"
#include "tools/fileio.h"
#include "tools/paths.h"

#include <array>
#include <charconv>

namespace id3::cli {
namespace {

// The ASCII bytes that stand for themselves in a JSON string, as a table: a
// run of them, such as a long comment, is found at a load per byte.
constexpr std::array<bool, 128> kPlain = [] {
  std::array<bool, 128> plain{};
  for (int b = 0x20; b < 128; ++b) plain[static_cast<std::size_t>(b)] = b != '"' && b != '\\';
  return plain;
}();

bool IsPlain(unsigned char b) { return b < kPlain.size() && kPlain[b]; }

// text as a JSON string. A file name need not be UTF-8 (on POSIX it is any
// bytes): each byte that starts no well-formed sequence becomes U+FFFD.
void AppendString(std::string& out, std::string_view text) {
  constexpr std::string_view kReplacement = "\xEF\xBF\xBD";
  out += '"';
  for (std::size_t i = 0; i < text.size();) {
    const auto b = static_cast<unsigned char>(text[i]);
    if (IsPlain(b)) {
      // A run that needs no escape goes in at once.
      std::size_t end = i + 1;
      while (end < text.size() && IsPlain(static_cast<unsigned char>(text[end]))) ++end;
      out.append(text, i, end - i);
      i = end;
    } else if (b == '"' || b == '\\') {
      out += '\\';
      out += static_cast<char>(b);
      ++i;
    } else if (b < 0x20) {
      constexpr char kHex[] = "0123456789abcdef";
      out += "\\u00";
      out += kHex[b >> 4];
      out += kHex[b & 15];
      ++i;
    } else if (const std::size_t n = utf8::WellFormedAt(text, i)) {
      out.append(text, i, n);
      i += n;
    } else {
      out += kReplacement;
      ++i;
    }
  }
  out += '"';
}

// "key": with the comma that separates it from a member before it.
void Key(std::string& out, std::string_view key) {
  using namespace std::string_view_literals;
  out += out.back() == '{' ? "\""sv : ",\""sv;
  out += key;
  out += "\":"sv;
}

void PutText(std::string& out, std::string_view key, std::string_view text) {
  Key(out, key);
  AppendString(out, text);
}

// A number, true, false, null or an object already written as JSON.
void PutRaw(std::string& out, std::string_view key, std::string_view json) {
  Key(out, key);
  out += json;
}

void PutNumber(std::string& out, std::string_view key, std::int64_t n) {
  char digits[24];
  PutRaw(out, key, {digits, std::to_chars(digits, std::end(digits), n).ptr});
}

void PutBool(std::string& out, std::string_view key, bool b) {
  PutRaw(out, key, b ? "true" : "false");
}

void PutOptionalText(std::string& out, std::string_view key,
                     const std::optional<std::string>& text) {
  if (text)
    PutText(out, key, *text);
  else
    PutRaw(out, key, "null");
}

std::string VersionText(const id3v2::Header& h) {
  return "2." + std::to_string(h.major) + "." + std::to_string(h.revision);
}

// Why the tag's code page is the one it is, for the text output.
std::string_view FromText(CodePageFrom from) {
  switch (from) {
  case CodePageFrom::kOption: return "given";
  case CodePageFrom::kId3v2: return "from the ID3v2 tag";
  case CodePageFrom::kUtf8: return "UTF-8";
  case CodePageFrom::kDefault: break;
  }
  return "default";
}

// Seconds with three decimals.
std::string Seconds(double s) {
  char buf[32];
  const auto end = std::to_chars(buf, buf + sizeof buf, s, std::chars_format::fixed, 3).ptr;
  return std::string(buf, end);
}

// The ID3v2 fields under their tag's line, with the window's captions.
void PutFieldLines(Lines& s, const id3v2::Fields& f) {
  const std::pair<const char*, const std::optional<std::string>*> lines[] = {
      {"Title", &f.title},  {"Artist", &f.artist}, {"Album", &f.album}, {"Year", &f.year},
      {"Note", &f.comment}, {"Track", &f.track},   {"Genre", &f.genre}};
  for (const auto& [caption, value] : lines)
    if (*value) s << "  " << caption << ": " << **value << '\n';
}

} // namespace

FileReport Report(const std::string& path, const InspectRequest& request,
                  std::vector<std::uint8_t>& windows) {
  FileReport report;
  report.file = path;
  InspectRequest with_audio = request;
  with_audio.audio = true;
  auto in = InspectFile(path, with_audio, windows);
  if (!in) {
    report.error = std::string(io::Describe(in.error()));
    return report;
  }
  report.file_size = in->file_size;
  report.id3v2 = std::move(in->id3v2);
  report.trailing = std::move(in->end.blocks);
  report.unclear = std::move(in->end.unclear);
  if (in->tag) {
    report.tag = std::move(in->tag);
    report.code_page = std::move(in->code_page);
    if (const auto& whole = in->long_texts) {
      report.tag->title = whole->title;
      report.tag->artist = whole->artist;
      report.tag->album = whole->album;
    }
  }
  report.audio = std::move(in->audio);
  return report;
}

std::string TagLines(const TagFields& t) {
  Lines s;
  s << "Title: " << t.title << '\n'
    << "Artist: " << t.artist << '\n'
    << "Album: " << t.album << '\n'
    << "Year: " << t.year << '\n'
    << "Note: " << t.comment << '\n';
  if (t.track) s << "Track: " << static_cast<int>(*t.track) << '\n';
  s << "Genre: ";
  if (t.genre.empty())
    s << '(' << static_cast<int>(t.genre_byte) << ')';
  else
    s << t.genre;
  s << '\n';
  return std::move(s).str();
}

std::string TextBlock(const FileReport& r) {
  Lines s;
  s << r.file << '\n';
  if (r.error) {
    s << "Error: " << *r.error << '\n';
    return std::move(s).str();
  }
  if (!r.tag)
    s << "Tag: none\n";
  else
    s << TagLines(*r.tag);
  if (r.code_page)
    s << "Code page: " << r.code_page->name << " (" << FromText(r.code_page->from) << ")\n";
  s << "Trailing: ";
  if (r.trailing.empty()) s << "none";
  for (const Block& b : r.trailing)
    s << (&b == r.trailing.data() ? "" : ", ") << EndBlockName(b.kind) << " at " << b.offset << " ("
      << b.size << " bytes)";
  s << '\n';
  if (r.unclear) s << "Unclear end: " << *r.unclear << '\n';
  s << "ID3v2: ";
  if (const auto& tag = r.id3v2.tag) {
    s << VersionText(tag->place.header) << ", " << tag->place.header.Length() << " bytes\n";
    PutFieldLines(s, id3v2::ShownFields(*tag));
  } else {
    s << "none\n";
  }
  for (const auto& other : r.id3v2.others)
    s << "Other ID3v2: " << VersionText(other.header) << ", " << other.header.Length()
      << " bytes at " << other.offset << ", not read\n";
  const AudioFacts& a = r.audio;
  s << "Bitrate: " << a.BitRate() << '\n'
    << "Emphasis: " << a.Emphasis() << '\n'
    << "Duration: " << a.DurationText() << '\n'
    << "Frequency: " << a.Frequency() << '\n'
    << "Layer: " << static_cast<int>(a.Layer()) << '\n'
    << "File size: " << FormatFileSize(static_cast<double>(r.file_size.value_or(0))) << '\n'
    << "Mode: " << a.ChannelMode() << '\n'
    << "Mpeg version: " << mpeg::MpegVersionText(a.MpegVersion()) << '\n';
  return std::move(s).str();
}

std::string JsonLine(const FileReport& r) {
  std::string s = "{";
  // Room for the usual line, with the ID3v2 fields.
  s.reserve(1024);
  PutText(s, "file", r.file);
  if (r.tag) {
    const TagFields& t = *r.tag;
    PutRaw(s, "tag", "{");
    PutText(s, "title", t.title);
    PutText(s, "artist", t.artist);
    PutText(s, "album", t.album);
    PutText(s, "year", t.year);
    PutText(s, "comment", t.comment);
    PutRaw(s, "track", t.track ? std::to_string(*t.track) : "null");
    PutText(s, "genre", t.genre);
    PutNumber(s, "genre_number", t.genre_byte);
    PutText(s, "codepage", r.code_page->name);
    PutText(s, "codepage_from", FromName(r.code_page->from));
    s += '}';
  } else {
    PutRaw(s, "tag", "null");
  }
  if (const auto& tag = r.id3v2.tag) {
    const id3v2::Fields f = id3v2::ShownFields(*tag);
    PutRaw(s, "id3v2", "{");
    PutText(s, "version", VersionText(tag->place.header));
    PutNumber(s, "size", static_cast<std::int64_t>(tag->place.header.Length()));
    PutOptionalText(s, "title", f.title);
    PutOptionalText(s, "artist", f.artist);
    PutOptionalText(s, "album", f.album);
    PutOptionalText(s, "year", f.year);
    PutOptionalText(s, "comment", f.comment);
    PutOptionalText(s, "track", f.track);
    PutOptionalText(s, "genre", f.genre);
    s += '}';
  } else {
    PutRaw(s, "id3v2", "null");
  }
  PutRaw(s, "id3v2_others", "[");
  for (const auto& other : r.id3v2.others) {
    if (s.back() != '[') s += ',';
    s += '{';
    PutText(s, "version", VersionText(other.header));
    PutNumber(s, "offset", static_cast<std::int64_t>(other.offset));
    PutNumber(s, "size", static_cast<std::int64_t>(other.header.Length()));
    s += '}';
  }
  s += ']';
  PutRaw(s, "trailing", "[");
  for (const Block& b : r.trailing) {
    if (s.back() != '[') s += ',';
    s += '{';
    PutText(s, "kind", EndBlockName(b.kind));
    PutNumber(s, "offset", static_cast<std::int64_t>(b.offset));
    PutNumber(s, "size", static_cast<std::int64_t>(b.size));
    s += '}';
  }
  s += ']';
  PutOptionalText(s, "trailing_unclear", r.unclear);
  const AudioFacts& a = r.audio;
  if (r.error) {
    PutRaw(s, "audio", "null");
  } else if (!a.Valid()) {
    PutRaw(s, "audio", "{\"valid\":false}");
  } else {
    PutRaw(s, "audio", "{");
    PutBool(s, "valid", true);
    PutNumber(s, "bitrate_kbps", a.BitRate());
    PutBool(s, "vbr", a.IsVbr());
    PutNumber(s, "frequency_hz", a.Frequency());
    PutRaw(s, "duration_s", Seconds(a.ExactSeconds()));
    PutNumber(s, "frames", a.FrameCount());
    PutRaw(s, "mpeg_version", mpeg::MpegVersionText(a.MpegVersion()));
    PutNumber(s, "layer", a.Layer());
    PutText(s, "channel_mode", a.ChannelMode());
    PutText(s, "emphasis", a.Emphasis());
    PutBool(s, "protected", a.HasCrc());
    PutBool(s, "copyrighted", a.Copyrighted());
    PutBool(s, "original", a.Original());
    PutNumber(s, "header_position", a.FirstFrameOffset());
    s += '}';
  }
  PutRaw(s, "file_size", r.file_size ? std::to_string(*r.file_size) : "null");
  if (r.error)
    PutText(s, "error", *r.error);
  else
    PutRaw(s, "error", "null");
  s += '}';
  return s;
}

} // namespace id3::cli
