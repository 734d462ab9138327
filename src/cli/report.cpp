#include "cli/report.h"

#include "mpeginfo/frame_header.h"
#include "tools/fileio.h"
#include "tools/paths.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <sstream>

namespace id3::cli {
namespace {

nlohmann::ordered_json VersionNumber(float version) {
  if (version == std::floor(version)) return static_cast<int>(version);
  return static_cast<double>(version);
}

} // namespace

FileReport Inspect(const std::string& path, const CodePage& cp) {
  FileReport report;
  report.file = path;
  // One open for the tag, the size and the audio facts: over many files the
  // opens and reads are most of the time.
  const auto file = io::File::Open(path, io::File::Access::Read);
  if (!file) {
    report.error = std::string(io::Describe(file.error()));
    return report;
  }
  const auto tag = TryReadTag(*file, cp);
  // A file too short for a tag is still a file with (no tag and) facts.
  if (!tag && tag.error() != TagError::TooShort) {
    report.error = std::string(Describe(tag.error()));
    return report;
  }
  if (tag && tag->HasTag()) report.tag = *tag;
  report.audio.LoadMP3(*file, path);
  if (const auto size = file->Size()) report.file_size = *size;
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
  using json = nlohmann::ordered_json;
  json out;
  out["file"] = r.file;
  if (r.tag) {
    const TagFields& t = *r.tag;
    out["tag"] = {{"title", t.title},     {"artist", t.artist},
                  {"album", t.album},     {"year", t.year},
                  {"comment", t.comment}, {"track", t.track ? json(*t.track) : json(nullptr)},
                  {"genre", t.genre},     {"genre_number", t.genre_byte}};
  } else {
    out["tag"] = nullptr;
  }
  const clsMP3Info& a = r.audio;
  if (r.error) {
    out["audio"] = nullptr;
  } else if (!a.ValidMP3()) {
    out["audio"] = {{"valid", false}};
  } else {
    out["audio"] = {{"valid", true},
                    {"bitrate_kbps", a.BitRate()},
                    {"vbr", a.isVBR()},
                    {"frequency_hz", a.Frequency()},
                    {"duration_s", a.SongLength()},
                    {"frames", a.NumFrames()},
                    {"mpeg_version", VersionNumber(a.MPEGVer())},
                    {"layer", a.Layers()},
                    {"channel_mode", a.ChannelMode()},
                    {"emphasis", a.Emphasis()},
                    {"protected", a.Protected()},
                    {"copyrighted", a.Copyrighted()},
                    {"original", a.Original()},
                    {"header_position", a.HeaderPos()}};
  }
  out["file_size"] = r.file_size ? json(*r.file_size) : json(nullptr);
  out["error"] = r.error ? json(*r.error) : json(nullptr);
  return out.dump();
}

} // namespace id3::cli
