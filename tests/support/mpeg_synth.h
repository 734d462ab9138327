// Synthetic MPEG audio for the tests: frames of silence behind chosen headers,
// VBR blocks, ID3v2 tags.
#pragma once

#include "counting_source.h"
#include "mpeginfo/frame_header.h"
#include "mpeginfo/stream.h"
#include "mpeginfo/vbr_header.h"
#include "testfs.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace id3::test {

using Header = std::array<std::uint8_t, 4>;

// MPEG-1 Layer III, 128 kbit/s, 44100 Hz, stereo, no CRC: 417-byte frames.
constexpr Header kCbr128 = {0xFF, 0xFB, 0x90, 0x00};

inline Bytes Text(std::string_view s) { return Bytes(s.begin(), s.end()); }

inline Bytes Be32(std::uint32_t v) {
  return {static_cast<std::uint8_t>(v >> 24), static_cast<std::uint8_t>(v >> 16),
          static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v)};
}

// count frames of the header's length (its padding bit as given), each the
// header followed by zeros; the first carries block at offset `at`.
inline Bytes Frames(Header h, std::size_t count, std::size_t at = 0, const Bytes& block = {}) {
  const auto length = static_cast<std::size_t>(mpeg::FrameLength(mpeg::DecodeHeader(h)));
  Bytes out(length * count, 0);
  for (std::size_t i = 0; i < count; ++i)
    std::copy(h.begin(), h.end(), out.begin() + static_cast<std::ptrdiff_t>(i * length));
  std::copy(block.begin(), block.end(), out.begin() + static_cast<std::ptrdiff_t>(at));
  return out;
}

inline Bytes Synchsafe(std::uint32_t n) {
  return {static_cast<std::uint8_t>(n >> 21 & 0x7F), static_cast<std::uint8_t>(n >> 14 & 0x7F),
          static_cast<std::uint8_t>(n >> 7 & 0x7F), static_cast<std::uint8_t>(n & 0x7F)};
}

// An ID3v2 tag (2.4 unless major says otherwise) whose body is `body`; flags
// 0x10 adds the footer.
inline Bytes Id3v2Tag(const Bytes& body, std::uint8_t flags = 0, std::uint8_t major = 4) {
  const Bytes size = Synchsafe(static_cast<std::uint32_t>(body.size()));
  const Bytes version = {major, 0, flags};
  if (!(flags & 0x10)) return Concat({Text("ID3"), version, size, body});
  return Concat({Text("ID3"), version, size, body, Text("3DI"), version, size});
}

// A tag body that a scan from the file's start would take for audio: a chain
// of frames, of 48 kHz where the tests' streams are 44.1 kHz.
inline Bytes DecoyBody() { return Frames({0xFF, 0xFB, 0x94, 0x00}, 3); }

inline mpeg::VbrHeader V(mpeg::VbrKind kind, std::optional<std::uint32_t> frames = {},
                         std::optional<std::uint32_t> bytes = {}, std::size_t offset = 0) {
  return mpeg::VbrHeader{.kind = kind, .frames = frames, .bytes = bytes, .offset = offset};
}

} // namespace id3::test
