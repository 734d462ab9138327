// Synthetic MPEG audio for the tests: frames of silence behind chosen headers,
// VBR blocks, ID3v2 tags, and a source that counts its reads.
#pragma once

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

// An ID3v2.4 tag whose body is `body`; flags 0x10 adds the footer.
inline Bytes Id3v2Tag(const Bytes& body, std::uint8_t flags = 0) {
  const auto n = static_cast<std::uint32_t>(body.size());
  const Bytes size = {
      static_cast<std::uint8_t>(n >> 21 & 0x7F), static_cast<std::uint8_t>(n >> 14 & 0x7F),
      static_cast<std::uint8_t>(n >> 7 & 0x7F), static_cast<std::uint8_t>(n & 0x7F)};
  const Bytes version = {4, 0, flags};
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

// Bytes in memory that count the reads made of them.
class CountingSource final : public mpeg::ByteSource {
public:
  explicit CountingSource(std::span<const std::uint8_t> bytes) : mem_(bytes) {}
  std::uint64_t Size() const override { return mem_.Size(); }
  io::Result<std::size_t> ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) const override {
    ++reads;
    return mem_.ReadAt(offset, out);
  }
  mutable int reads = 0;

private:
  mpeg::MemorySource mem_;
};

} // namespace id3::test
