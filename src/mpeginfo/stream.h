// Finding the first frame of an MPEG audio stream and deriving its facts.
//
// The decisions are pure functions (DeriveFacts) or work on an io::ByteSource,
// the one thing that reads (tools/bytesource.h).
#pragma once

#include "mpeginfo/frame_header.h"
#include "mpeginfo/vbr_header.h"
#include "tools/bytesource.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace id3::mpeg {

// Where the audio lies: behind the leading ID3v2 tags, before an ID3v1 tag.
struct AudioSpan {
  std::uint64_t begin{}; // first byte behind the ID3v2 tags
  std::uint64_t end{};   // where the first block at the file's end begins (FileEnd::audio_end)
  std::uint64_t Bytes() const { return end > begin ? end - begin : 0; }
};
// Nothing when the source cannot be read.
// audio_end, where the caller has read the file's end already, else read here
// (ReadFileEnd): the audio ends where the first block at the end begins.
std::optional<AudioSpan> LocateAudio(const io::ByteSource& src,
                                     std::optional<std::uint64_t> audio_end = std::nullopt);

struct FoundFrame {
  std::uint64_t offset{}; // of the header's first byte, 0-based
  std::array<std::uint8_t, kHeaderSize> bytes{};
  FrameHeader header;
};

// How far behind the ID3v2 tags the first frame is looked for. Decoders and
// tag readers give up after a bound too (FFmpeg's demuxer after 64 KiB,
// Android's after 128 KiB, mutagen after 1 MiB); this is the widest of them,
// so that a large file without audio costs a bounded read, not the whole file.
constexpr std::uint64_t kSearchLimit = 1 << 20;

// The first frame header at or after audio.begin. A candidate has the sync
// bits and no reserved field, and where the audio holds the frame that should
// follow it, that frame starts with a header of the same stream (for free
// format, whose frame length the header does not give: a free-format header of
// the stream within the longest frame's reach). Candidates are examined up to
// offset size - 6 (only offset 0 in a file of 4 or 5 bytes), only where their
// four bytes lie before audio.end, and only within kSearchLimit bytes of
// audio.begin. The source is read in blocks.
// Nothing when there is no header or the source cannot be read.
std::optional<FoundFrame> FindFirstFrame(const io::ByteSource& src, const AudioSpan& audio);

// The frames of the stream from the first one on, walked header by header:
// each one whole before audio_end and of the same stream as the first. The
// walk stops at the first that is not, and reads the audio once, in blocks.
struct FrameWalk {
  std::uint32_t frames = 0; // the first one included
  std::uint64_t bytes{};    // from the first frame's header to the end of the last
};
std::optional<FrameWalk> WalkFrames(const io::ByteSource& src, const FoundFrame& first,
                                    std::uint64_t audio_end);

// What AudioFacts::Load publishes, derived from the first header, the block in its
// frame and the number of audio bytes.
struct Facts {
  std::int32_t bit_rate{};  // kbit/s
  std::int32_t frequency{}; // Hz
  std::int32_t frame_count{};
  std::int32_t whole_seconds{}; // whole seconds, rounded half to even
  double duration{};            // seconds
  bool vbr = false;             // a Xing or VBRI block
};

// Nothing when the facts cannot be formed: no bit rate and no frame count, a
// Xing block without a frame count (AnalyseStream counts the frames first), a
// frame count of 0, or a value outside 32 bits.
//  - Xing or VBRI with a frame count: duration = frames x samples per frame /
//    frequency; bit rate = the block's byte count (else audio_bytes) x 8 /
//    duration, the average.
//  - Info with a frame count: duration as for Xing, the header's bit rate.
//  - otherwise (constant bit rate): the header's bit rate; duration =
//    audio_bytes x 8 / bit rate, frames = audio_bytes / frame length.
std::optional<Facts> DeriveFacts(const FrameHeader& h, const VbrHeader& vbr,
                                 std::uint64_t audio_bytes);

// Everything at once: the audio's place, its first frame, the block in that
// frame, the facts. A Xing block without a frame count has the frames walked
// and counted (less the block's own frame, as encoders count), and their
// bytes stand in for a byte count it lacks too. Nothing when any step fails.
struct StreamInfo {
  AudioSpan audio;
  FoundFrame frame;
  VbrHeader vbr;
  Facts facts;
};
std::optional<StreamInfo> AnalyseStream(const io::ByteSource& src,
                                        std::optional<std::uint64_t> audio_end = std::nullopt);

// Rounds to the nearest integer, a half to the even neighbour; nothing when
// the result lies outside 32 bits (or x is not a number).
std::optional<std::int32_t> RoundToInt32(double x);

} // namespace id3::mpeg
