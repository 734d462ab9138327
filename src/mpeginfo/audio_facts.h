// Audio facts of one MP3 file, read from its first MPEG audio frame header and
// the VBR header block that may follow it.
//
// The stream is found behind any ID3v2 tags at the start; its bytes are the
// file's less those tags and a trailing ID3v1 tag. A "Xing" or "VBRI" block in
// the first frame makes the file VBR (its frame count gives the duration, its
// average the bit rate); an "Info" block gives the frame count of a
// constant-bit-rate file; without a block the header's bit rate gives both.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace id3 {

namespace io {
class ByteSource;
}

class AudioFacts {
public:
  // Reads the file and replaces every value; false (and every value empty)
  // when the file holds no usable frame header or cannot be read.
  bool Load(const std::string& path);
  // The same for bytes the caller has at hand already (an open file, read
  // through windows); path is what FileName then reports.
  // audio_end is FileEnd::audio_end where the caller has read the file's end.
  bool Load(const io::ByteSource& src, const std::string& path,
            std::optional<std::uint64_t> audio_end = std::nullopt);

  bool Valid() const { return valid_; }
  const std::string& FileName() const { return file_name_; }
  std::int64_t FileSize() const { return file_size_; }
  // kbit/s: the header's, or the average of a Xing or VBRI file.
  std::int32_t BitRate() const { return bit_rate_; }
  std::int32_t Frequency() const { return frequency_; }
  // The duration in whole seconds, rounded half to even.
  std::int32_t Seconds() const { return seconds_; }
  // The same duration, unrounded.
  double ExactSeconds() const { return exact_seconds_; }
  std::int32_t FrameCount() const { return frame_count_; }
  // A "Xing" or "VBRI" block was found ("Info" is not one).
  bool IsVbr() const { return vbr_; }
  // 1, 2 or 2.5; 0 for the reserved version.
  float MpegVersion() const { return mpeg_version_; }
  // 1, 2 or 3; 0 for the reserved layer.
  std::uint8_t Layer() const { return layer_; }
  // A CRC follows the frame header.
  bool HasCrc() const { return has_crc_; }
  const std::string& ChannelMode() const { return channel_mode_; }
  bool Copyrighted() const { return copyrighted_; }
  bool Original() const { return original_; }
  // Byte offset of the first frame header from the start of the file.
  std::int64_t FirstFrameOffset() const { return first_frame_offset_; }
  const std::string& Emphasis() const { return emphasis_; }

  // Seconds as text: "0:07", "4:10", "1:00:07", "1:02:05"; empty when nothing
  // is loaded.
  std::string DurationText() const;

private:
  bool valid_ = false;
  std::string file_name_;
  std::int64_t file_size_ = 0;
  std::int32_t bit_rate_ = 0;
  std::int32_t frequency_ = 0;
  std::int32_t seconds_ = 0;
  double exact_seconds_ = 0;
  std::int32_t frame_count_ = 0;
  bool vbr_ = false;
  float mpeg_version_ = 0;
  std::uint8_t layer_ = 0;
  bool has_crc_ = false;
  std::string channel_mode_;
  bool copyrighted_ = false;
  bool original_ = false;
  std::int64_t first_frame_offset_ = 0;
  std::string emphasis_;
};

// A duration in whole seconds as text: minutes and two-digit seconds ("0:07",
// "4:10", "59:59"), with hours in front from one hour on ("1:00:07",
// "9:06:07"); empty for a negative duration.
std::string FormatDuration(std::int32_t seconds);

} // namespace id3
