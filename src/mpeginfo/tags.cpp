#include "mpeginfo/tags.h"

namespace id3::mpeg {

std::uint64_t Id3v2TagLength(std::span<const std::uint8_t> b) {
  if (b.size() < kId3v2HeaderSize || b[0] != 'I' || b[1] != 'D' || b[2] != '3') return 0;
  if (b[3] == 0xFF || b[4] == 0xFF) return 0;
  std::uint64_t size = 0;
  for (std::size_t i = 6; i < 10; ++i) {
    if (b[i] & 0x80) return 0; // not synchsafe
    size = size << 7 | b[i];
  }
  const std::uint64_t footer = (b[5] & kId3v2FooterFlag) ? kId3v2FooterSize : 0;
  return kId3v2HeaderSize + size + footer;
}

} // namespace id3::mpeg
