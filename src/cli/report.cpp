#include "cli/report.h"

#include "mpeginfo/frame_header.h"
#include "mpeginfo/stream.h"
#include "tools/fileio.h"
#include "tools/paths.h"

#include <array>
#include <sstream>

namespace id3::cli {
namespace {

// Length of the well-formed multi-byte UTF-8 sequence at text[i], 0 when
// there is none.
std::size_t Utf8SequenceAt(std::string_view text, std::size_t i) {
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

// A byte that stands for itself in a JSON string.
bool IsPlain(unsigned char b) { return b >= 0x20 && b < 0x80 && b != '"' && b != '\\'; }

// text as a JSON string. A file name need not be UTF-8 (on POSIX it is any
// bytes): what is not becomes U+FFFD.
void AppendString(std::string& out, std::string_view text) {
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
    } else if (const std::size_t n = Utf8SequenceAt(text, i); n > 0) {
      out.append(text, i, n);
      i += n;
    } else {
      out += "\xEF\xBF\xBD";
      ++i;
    }
  }
  out += '"';
}

// "key": with the comma that separates it from a member before it.
void Key(std::string& out, std::string_view key) {
  if (out.back() != '{') out += ',';
  out += '"';
  out += key;
  out += "\":";
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
  PutRaw(out, key, std::to_string(n));
}

void PutBool(std::string& out, std::string_view key, bool b) {
  PutRaw(out, key, b ? "true" : "false");
}

} // namespace

FileReport Inspect(const std::string& path, const CodePage& cp,
                   std::vector<std::uint8_t>& windows) {
  FileReport report;
  report.file = path;
  // Over many files the system calls are most of the time: one open that
  // also tells the size, one read of the head and one of the tail.
  const auto file = io::OpenForReading(path);
  if (!file) {
    report.error = std::string(io::Describe(file.error()));
    return report;
  }
  report.file_size = file->size;
  const mpeg::FileSource raw(file->file, file->size);
  const auto src = mpeg::WindowedSource::Read(raw, windows);
  if (!src) {
    report.error = std::string(io::Describe(src.error()));
    return report;
  }
  // A file too short for a tag is still a file with (no tag and) facts.
  TagRecord last{};
  if (file->size >= record::kSize && src->ReadAt(file->size - record::kSize, last)) {
    TagFields tag = ParseTagRecord(last, cp);
    if (tag.HasTag()) report.tag = std::move(tag);
  }
  std::array<std::uint8_t, mpeg::kId3v2HeaderSize> head{};
  if (const auto got = src->ReadAt(0, head))
    report.id3v2 = mpeg::ReadId3v2Tag(std::span(head).first(*got));
  report.audio.LoadMP3(*src, path);
  return report;
}

std::string TextBlock(const FileReport& r) {
  std::ostringstream s;
  s << r.file << '\n';
  if (r.error) {
    s << "Error: " << *r.error << '\n';
    return s.str();
  }
  if (!r.tag) {
    s << "Tag: none\n";
  } else {
    const TagFields& t = *r.tag;
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
  }
  s << "ID3v2: ";
  if (r.id3v2)
    s << "2." << static_cast<int>(r.id3v2->major) << '.' << static_cast<int>(r.id3v2->revision)
      << ", " << r.id3v2->length << " bytes\n";
  else
    s << "none\n";
  const clsMP3Info& a = r.audio;
  s << "Bitrate: " << a.BitRate() << '\n'
    << "Emphasis: " << a.Emphasis() << '\n'
    << "Duration: " << a.FormatTime() << '\n'
    << "Frequency: " << a.Frequency() << '\n'
    << "Layer: " << static_cast<int>(a.Layers()) << '\n'
    << "File size: " << FormatFileSize(static_cast<double>(r.file_size.value_or(0))) << '\n'
    << "Mode: " << a.ChannelMode() << '\n'
    << "Mpeg version: " << mpeg::MpegVersionText(a.MPEGVer()) << '\n';
  return s.str();
}

std::string JsonLine(const FileReport& r) {
  std::string s = "{";
  s.reserve(640);
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
    s += '}';
  } else {
    PutRaw(s, "tag", "null");
  }
  if (r.id3v2) {
    PutRaw(s, "id3v2", "{");
    PutText(s, "version",
            "2." + std::to_string(r.id3v2->major) + "." + std::to_string(r.id3v2->revision));
    PutNumber(s, "size", static_cast<std::int64_t>(r.id3v2->length));
    s += '}';
  } else {
    PutRaw(s, "id3v2", "null");
  }
  const clsMP3Info& a = r.audio;
  if (r.error) {
    PutRaw(s, "audio", "null");
  } else if (!a.ValidMP3()) {
    PutRaw(s, "audio", "{\"valid\":false}");
  } else {
    PutRaw(s, "audio", "{");
    PutBool(s, "valid", true);
    PutNumber(s, "bitrate_kbps", a.BitRate());
    PutBool(s, "vbr", a.isVBR());
    PutNumber(s, "frequency_hz", a.Frequency());
    PutNumber(s, "duration_s", a.SongLength());
    PutNumber(s, "frames", a.NumFrames());
    PutRaw(s, "mpeg_version", mpeg::MpegVersionText(a.MPEGVer()));
    PutNumber(s, "layer", a.Layers());
    PutText(s, "channel_mode", a.ChannelMode());
    PutText(s, "emphasis", a.Emphasis());
    PutBool(s, "protected", a.Protected());
    PutBool(s, "copyrighted", a.Copyrighted());
    PutBool(s, "original", a.Original());
    PutNumber(s, "header_position", a.HeaderPos());
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
