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

std::optional<Id3v2Tag> ReadId3v2Tag(std::span<const std::uint8_t> b) {
  const std::uint64_t length = Id3v2TagLength(b);
  if (length == 0) return std::nullopt;
  return Id3v2Tag{.major = b[3], .revision = b[4], .length = length};
}

} // namespace id3::mpeg
