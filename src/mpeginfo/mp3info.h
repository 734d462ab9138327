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
#include <string>

namespace id3 {

namespace io {
class ByteSource;
}

class clsMP3Info {
public:
  // Reads the file and replaces every value; false (and every value empty)
  // when the file holds no usable frame header or cannot be read.
  bool LoadMP3(const std::string& path);
  // The same for bytes the caller has at hand already (an open file, read
  // through windows); path is what FileName then reports.
  bool LoadMP3(const io::ByteSource& src, const std::string& path);

  bool ValidMP3() const { return valid_; }
  const std::string& FileName() const { return file_name_; }
  std::int64_t FileSize() const { return file_size_; }
  // kbit/s: the header's, or the average of a Xing or VBRI file.
  std::int32_t BitRate() const { return bit_rate_; }
  std::int32_t Frequency() const { return frequency_; }
  // Whole seconds, rounded half to even.
  std::int32_t SongLength() const { return song_length_; }
  // The same duration in seconds, unrounded.
  double DurationSeconds() const { return duration_; }
  std::int32_t NumFrames() const { return num_frames_; }
  // A "Xing" or "VBRI" block was found ("Info" is not one).
  bool isVBR() const { return vbr_; }
  // 1, 2 or 2.5; 0 for the reserved version.
  float MPEGVer() const { return mpeg_ver_; }
  // 1, 2 or 3; 0 for the reserved layer.
  std::uint8_t Layers() const { return layers_; }
  bool Protected() const { return protected_; }
  const std::string& ChannelMode() const { return channel_mode_; }
  bool Copyrighted() const { return copyrighted_; }
  bool Original() const { return original_; }
  // 1-based position of the first frame header, plus 4 when that position is
  // less than FileSize - 16 (when 12 bytes behind the header were there to be
  // read as a possible VBR block).
  std::int64_t HeaderPos() const { return header_pos_; }
  const std::string& Emphasis() const { return emphasis_; }

  // SongLength as text: "0:07", "4:10", "1:00:07", "1:02:05"; empty when
  // nothing is loaded.
  std::string FormatTime() const;

private:
  void ResetInfo();

  bool valid_ = false;
  std::string file_name_;
  std::int64_t file_size_ = 0;
  std::int32_t bit_rate_ = 0;
  std::int32_t frequency_ = 0;
  std::int32_t song_length_ = 0;
  double duration_ = 0;
  std::int32_t num_frames_ = 0;
  bool vbr_ = false;
  float mpeg_ver_ = 0;
  std::uint8_t layers_ = 0;
  bool protected_ = false;
  std::string channel_mode_;
  bool copyrighted_ = false;
  bool original_ = false;
  std::int64_t header_pos_ = 0;
  std::string emphasis_;
};

// A duration in whole seconds as text: minutes and two-digit seconds ("0:07",
// "4:10", "59:59"), with hours in front from one hour on ("1:00:07",
// "9:06:07"); empty for a negative duration.
std::string FormatSongLength(std::int32_t seconds);

} // namespace id3
