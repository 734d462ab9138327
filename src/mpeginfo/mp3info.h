// Audio facts of one MP3 file, read from its first MPEG audio frame header and
// the VBR header block that may follow it.
#pragma once

#include <cstdint>
#include <string>

namespace id3 {

class clsMP3Info {
public:
  // Reads the file and replaces every value; false (and every value empty)
  // when the file holds no usable frame header or cannot be read.
  bool LoadMP3(const std::string& path);

  bool ValidMP3() const { return valid_; }
  const std::string& FileName() const { return file_name_; }
  std::int64_t FileSize() const { return file_size_; }
  // kbit/s; -1 for a Xing block without a frame count.
  std::int32_t BitRate() const { return bit_rate_; }
  std::int32_t Frequency() const { return frequency_; }
  // Whole seconds.
  std::int32_t SongLength() const { return song_length_; }
  std::int32_t NumFrames() const { return num_frames_; }
  bool isVBR() const { return vbr_; }
  // 1, 2 or 2.5; 0 for the reserved version.
  float MPEGVer() const { return mpeg_ver_; }
  // 1, 2 or 3; 0 for the reserved layer.
  std::uint8_t Layers() const { return layers_; }
  bool Protected() const { return protected_; }
  const std::string& ChannelMode() const { return channel_mode_; }
  bool Copyrighted() const { return copyrighted_; }
  bool Original() const { return original_; }
  // 1-based position of the frame header, plus 4 when the bytes behind it
  // were read as a possible Xing block.
  std::int64_t HeaderPos() const { return header_pos_; }
  const std::string& Emphasis() const { return emphasis_; }

  // SongLength as text: "4:10", "1:02:05"; empty when nothing is loaded.
  std::string FormatTime() const;

private:
  void ResetInfo();

  bool valid_ = false;
  std::string file_name_;
  std::int64_t file_size_ = 0;
  std::int32_t bit_rate_ = 0;
  std::int32_t frequency_ = 0;
  std::int32_t song_length_ = 0;
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

} // namespace id3
