#include "mpeginfo/audio_facts.h"

#include "mpeginfo/stream.h"
#include "tools/fileio.h"

#include <vector>

namespace id3 {

bool AudioFacts::Load(const std::string& path) {
  *this = AudioFacts{};
  const auto file = io::OpenForReading(path);
  if (!file) return false;
  const io::FileSource raw(file->file, file->size);
  std::vector<std::uint8_t> windows;
  const auto src = io::WindowedSource::Read(raw, windows);
  return src && Load(*src, path);
}

bool AudioFacts::Load(const io::ByteSource& src, const std::string& path,
                      std::optional<std::uint64_t> audio_end) {
  *this = AudioFacts{};
  const std::uint64_t size_in_bytes = src.Size();
  const auto info = mpeg::AnalyseStream(src, audio_end);
  if (!info) return false;

  const mpeg::FrameHeader& h = info->frame.header;
  file_name_ = path;
  file_size_ = static_cast<std::int64_t>(size_in_bytes);
  bit_rate_ = info->facts.bit_rate;
  frequency_ = info->facts.frequency;
  seconds_ = info->facts.whole_seconds;
  exact_seconds_ = info->facts.duration;
  frame_count_ = info->facts.frame_count;
  vbr_ = info->facts.vbr;
  mpeg_version_ = mpeg::MpegVersionNumber(h);
  layer_ = mpeg::LayerNumber(h);
  has_crc_ = h.protection == 0;
  channel_mode_ = mpeg::ChannelModeText(h);
  copyrighted_ = h.copyright == 1;
  original_ = h.original == 1;
  emphasis_ = mpeg::EmphasisText(h);
  first_frame_offset_ = static_cast<std::int64_t>(info->frame.offset);
  valid_ = true;
  return true;
}

std::string AudioFacts::DurationText() const {
  return valid_ ? FormatDuration(seconds_) : std::string();
}

std::string FormatDuration(std::int32_t seconds) {
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
