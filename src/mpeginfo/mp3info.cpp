#include "mpeginfo/mp3info.h"

#include "mpeginfo/stream.h"
#include "tools/fileio.h"

#include <vector>

namespace id3 {

void clsMP3Info::ResetInfo() { *this = clsMP3Info{}; }

bool clsMP3Info::LoadMP3(const std::string& path) {
  ResetInfo();
  const auto file = io::OpenForReading(path);
  if (!file) return false;
  const io::FileSource raw(file->file, file->size);
  std::vector<std::uint8_t> windows;
  const auto src = io::WindowedSource::Read(raw, windows);
  return src && LoadMP3(*src, path);
}

bool clsMP3Info::LoadMP3(const io::ByteSource& src, const std::string& path) {
  ResetInfo();
  const std::uint64_t size_in_bytes = src.Size();
  const auto info = mpeg::AnalyseStream(src);
  if (!info) return false;

  const mpeg::FrameHeader& h = info->frame.header;
  file_name_ = path;
  file_size_ = static_cast<std::int64_t>(size_in_bytes);
  bit_rate_ = info->facts.bit_rate;
  frequency_ = info->facts.frequency;
  song_length_ = info->facts.song_length;
  duration_ = info->facts.duration;
  num_frames_ = info->facts.num_frames;
  vbr_ = info->facts.vbr;
  mpeg_ver_ = mpeg::MpegVersionNumber(h);
  layers_ = mpeg::LayerNumber(h);
  protected_ = h.protection == 0;
  channel_mode_ = mpeg::ChannelModeText(h);
  copyrighted_ = h.copyright == 1;
  original_ = h.original == 1;
  emphasis_ = mpeg::EmphasisText(h);
  const std::int64_t pos = static_cast<std::int64_t>(info->frame.offset) + 1;
  header_pos_ = pos < file_size_ - 16 ? pos + 4 : pos;
  valid_ = true;
  return true;
}

std::string clsMP3Info::FormatTime() const {
  return valid_ ? FormatSongLength(song_length_) : std::string();
}

std::string FormatSongLength(std::int32_t seconds) {
  if (seconds < 0) return {};
  const std::int32_t h = seconds / 3600;
  const std::int32_t m = seconds % 3600 / 60;
  const std::int32_t s = seconds % 60;
  const auto two = [](std::int32_t v) {
    std::string text = std::to_string(v);
    if (text.size() < 2) text.insert(text.begin(), '0');
    return text;
  };
  if (h > 0) return std::to_string(h) + ":" + two(m) + ":" + two(s);
  return std::to_string(m) + ":" + two(s);
}

} // namespace id3
