#include "mpeginfo/stream.h"

#include "id3v2/reader.h"
#include "tagstore/trailing.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace id3::mpeg {
namespace {

// The scan reads a small first block, since the audio of most files starts
// right at the beginning or behind the tag, and doubles it up to the largest.
constexpr std::size_t kFirstBlock = 4096;
constexpr std::size_t kLargestBlock = 256 * 1024;
// The longest free-format frame: 640 kbit/s at 32 kHz, 2880 bytes and one of
// padding, and the next header's four bytes.
constexpr std::size_t kLongestFreeFormatFrame = 2881 + kHeaderSize;

// Four bytes at offset, from buf where it holds them, else read.
std::optional<std::array<std::uint8_t, kHeaderSize>> HeaderAt(const io::ByteSource& src,
                                                              std::span<const std::uint8_t> buf,
                                                              std::uint64_t buf_offset,
                                                              std::uint64_t offset) {
  std::array<std::uint8_t, kHeaderSize> bytes{};
  if (offset >= buf_offset && offset - buf_offset + kHeaderSize <= buf.size()) {
    std::copy_n(buf.begin() + static_cast<std::ptrdiff_t>(offset - buf_offset), kHeaderSize,
                bytes.begin());
    return bytes;
  }
  // The caller asks only for bytes before the end; any it could not have stay 0.
  if (!io::ReadUpTo(src, offset, bytes)) return std::nullopt;
  return bytes;
}

bool ContinuesStream(std::span<const std::uint8_t, kHeaderSize> bytes, const FrameHeader& h) {
  return IsFrameSync(bytes) && SameStream(DecodeHeader(bytes), h);
}

// Whether the frame that the header at `offset` starts is followed by another
// of the same stream, or the audio ends before one could follow.
std::optional<bool> FollowedBySameStream(const io::ByteSource& src,
                                         std::span<const std::uint8_t> buf,
                                         std::uint64_t buf_offset, std::uint64_t offset,
                                         const FrameHeader& h, std::uint64_t audio_end) {
  const int length = FrameLength(h);
  if (length != 0) {
    const std::uint64_t next = offset + static_cast<std::uint64_t>(length);
    if (next + kHeaderSize > audio_end) return true;
    const auto bytes = HeaderAt(src, buf, buf_offset, next);
    if (!bytes) return std::nullopt;
    return ContinuesStream(*bytes, h);
  }
  // Free format: the header does not tell the frame's length, so the next
  // free-format header of the stream is looked for as far as the longest
  // frame reaches.
  const std::uint64_t window_end = offset + kHeaderSize + kLongestFreeFormatFrame;
  if (window_end > audio_end) return true;
  std::vector<std::uint8_t> window(kLongestFreeFormatFrame);
  const auto got = io::ReadUpTo(src, offset + kHeaderSize, window);
  if (!got) return std::nullopt;
  const std::span<const std::uint8_t> read(window.data(), *got);
  for (std::size_t i = 0; i + kHeaderSize <= read.size(); ++i) {
    const auto next = read.subspan(i).first<kHeaderSize>();
    if (ContinuesStream(next, h) && DecodeHeader(next).bit_rate_index == kBitRateFree) return true;
  }
  return false;
}

} // namespace

std::optional<AudioSpan> LocateAudio(const io::ByteSource& src,
                                     std::optional<std::uint64_t> audio_end) {
  const auto leading_end = id3v2::LeadingTagsEnd(src);
  if (!leading_end) return std::nullopt;
  if (!audio_end) {
    const auto end = ReadFileEnd(src, *leading_end);
    if (!end) return std::nullopt;
    audio_end = end->audio_end;
  }
  return AudioSpan{.begin = *leading_end, .end = std::max(*audio_end, *leading_end)};
}

std::optional<FoundFrame> FindFirstFrame(const io::ByteSource& src, const AudioSpan& audio) {
  const std::uint64_t size = src.Size();
  if (size < kHeaderSize || audio.end < kHeaderSize) return std::nullopt;
  // The last offset examined.
  const std::uint64_t last =
      std::min({size >= 6 ? size - 6 : 0, audio.end - kHeaderSize, audio.begin + kSearchLimit - 1});
  if (audio.begin > last) return std::nullopt;

  std::vector<std::uint8_t> storage;
  std::size_t block = kFirstBlock;
  std::uint64_t base = audio.begin;
  while (true) {
    const auto want = static_cast<std::size_t>(std::min<std::uint64_t>(block, size - base));
    const auto read = io::ViewOrRead(src, base, want, storage);
    if (!read) return std::nullopt;
    const std::span<const std::uint8_t> buf = *read;
    if (buf.size() < kHeaderSize) return std::nullopt;
    const std::size_t n = buf.size();
    // Candidates buf[0] to buf[limit]: all four bytes in the buffer, none past last.
    const std::size_t limit =
        static_cast<std::size_t>(std::min<std::uint64_t>(n - kHeaderSize, last - base));
    for (std::size_t i = 0; i <= limit; ++i) {
      const void* ff = std::memchr(buf.data() + i, 0xFF, limit - i + 1);
      if (!ff) break;
      i = static_cast<std::size_t>(static_cast<const std::uint8_t*>(ff) - buf.data());
      const HeaderBytes candidate(buf.data() + i, kHeaderSize);
      if (!IsFrameSync(candidate)) continue;
      const FrameHeader h = DecodeHeader(candidate);
      if (HasReservedField(h)) continue;
      const auto followed = FollowedBySameStream(src, buf, base, base + i, h, audio.end);
      if (!followed) return std::nullopt;
      if (!*followed) continue;
      FoundFrame found{.offset = base + i, .header = h};
      std::copy_n(candidate.begin(), kHeaderSize, found.bytes.begin());
      return found;
    }
    if (base + limit >= last) return std::nullopt;
    base += limit + 1;
    block = std::min(block * 2, kLargestBlock);
  }
}

std::optional<FrameWalk> WalkFrames(const io::ByteSource& src, const FoundFrame& first,
                                    std::uint64_t audio_end) {
  constexpr std::size_t kBlock = 64 * 1024;
  std::vector<std::uint8_t> buf;
  std::uint64_t buf_offset{};
  std::uint64_t at = first.offset;
  FrameWalk walk;
  while (at + kHeaderSize <= audio_end && walk.frames < UINT32_MAX) {
    if (at + kHeaderSize > buf_offset + buf.size()) {
      buf.resize(static_cast<std::size_t>(std::min<std::uint64_t>(kBlock, audio_end - at)));
      const auto got = io::ReadUpTo(src, at, buf);
      if (!got) return std::nullopt;
      buf.resize(*got);
      buf_offset = at;
      if (*got < kHeaderSize) break;
    }
    const HeaderBytes bytes(buf.data() + (at - buf_offset), kHeaderSize);
    if (!IsFrameSync(bytes)) break;
    const FrameHeader h = DecodeHeader(bytes);
    const int length = FrameLength(h);
    if (HasReservedField(h) || !SameStream(h, first.header) || length == 0 ||
        at + static_cast<std::uint64_t>(length) > audio_end)
      break;
    ++walk.frames;
    at += static_cast<std::uint64_t>(length);
  }
  walk.bytes = at - first.offset;
  return walk;
}

std::optional<std::int32_t> RoundToInt32(double x) {
  if (!std::isfinite(x)) return std::nullopt;
  const double r = std::nearbyint(x); // the default rounding: to nearest, ties to even
  if (r < std::numeric_limits<std::int32_t>::min() || r > std::numeric_limits<std::int32_t>::max())
    return std::nullopt;
  return static_cast<std::int32_t>(r);
}

std::optional<Facts> DeriveFacts(const FrameHeader& h, const VbrHeader& vbr,
                                 std::uint64_t audio_bytes) {
  const int frequency = FrequencyHz(h);
  const int samples = SamplesPerFrame(h);
  if (frequency == 0 || samples == 0) return std::nullopt;
  if (vbr.kind == VbrKind::Xing && !vbr.frames) return std::nullopt;
  Facts f;
  f.frequency = frequency;
  f.vbr = vbr.kind == VbrKind::Xing || vbr.kind == VbrKind::Vbri;
  const double audio_bits = static_cast<double>(audio_bytes) * 8;

  std::optional<std::int32_t> bit_rate;
  if (vbr.kind != VbrKind::None && vbr.frames) {
    const std::uint32_t frames = *vbr.frames;
    if (frames == 0 ||
        frames > static_cast<std::uint32_t>(std::numeric_limits<std::int32_t>::max()))
      return std::nullopt;
    f.frame_count = static_cast<std::int32_t>(frames);
    f.duration = static_cast<double>(frames) * samples / frequency;
    const int table_rate = BitRateKbps(h);
    if (vbr.kind == VbrKind::Info && table_rate != 0) {
      bit_rate = table_rate;
    } else {
      const double bytes = vbr.bytes ? *vbr.bytes : static_cast<double>(audio_bytes);
      bit_rate = RoundToInt32(bytes * 8 / f.duration / 1000);
    }
  } else {
    const int table_rate = BitRateKbps(h);
    if (table_rate == 0) return std::nullopt;
    bit_rate = table_rate;
    f.duration = audio_bits / (table_rate * 1000.0);
    const double frame_bytes = FrameLengthCoefficient(h) * (table_rate * 1000.0 / frequency);
    const auto frames = RoundToInt32(static_cast<double>(audio_bytes) / frame_bytes);
    if (!frames) return std::nullopt;
    f.frame_count = *frames;
  }
  const auto whole_seconds = RoundToInt32(f.duration);
  if (!bit_rate || !whole_seconds) return std::nullopt;
  f.bit_rate = *bit_rate;
  f.whole_seconds = *whole_seconds;
  return f;
}

std::optional<StreamInfo> AnalyseStream(const io::ByteSource& src,
                                        std::optional<std::uint64_t> audio_end) {
  StreamInfo info;
  const auto audio = LocateAudio(src, audio_end);
  if (!audio) return std::nullopt;
  info.audio = *audio;
  const auto frame = FindFirstFrame(src, info.audio);
  if (!frame) return std::nullopt;
  info.frame = *frame;

  std::array<std::uint8_t, kVbrWindow> window{};
  const auto got = io::ReadUpTo(src, frame->offset, window);
  if (!got) return std::nullopt;
  info.vbr = FindVbrHeader(frame->header, std::span(window).first(*got));

  VbrHeader counted = info.vbr;
  if (counted.kind == VbrKind::Xing && !counted.frames) {
    const auto walk = WalkFrames(src, *frame, info.audio.end);
    if (!walk) return std::nullopt;
    counted.frames = walk->frames > 0 ? walk->frames - 1 : 0;
    if (!counted.bytes)
      counted.bytes = static_cast<std::uint32_t>(std::min<std::uint64_t>(walk->bytes, UINT32_MAX));
  }
  const auto facts = DeriveFacts(frame->header, counted, info.audio.Bytes());
  if (!facts) return std::nullopt;
  info.facts = *facts;
  return info;
}

} // namespace id3::mpeg
