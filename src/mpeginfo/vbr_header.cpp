#include "mpeginfo/vbr_header.h"

#include <algorithm>
#include <string_view>

namespace id3::mpeg {
namespace {

constexpr std::uint32_t kXingFramesFlag = 0x1;
constexpr std::uint32_t kXingBytesFlag = 0x2;
constexpr std::size_t kVbriBytesAt = 10, kVbriFramesAt = 14, kVbriSize = 18;

bool StartsWith(std::span<const std::uint8_t> bytes, std::string_view tag) {
  return bytes.size() >= tag.size() &&
         std::equal(tag.begin(), tag.end(), bytes.begin(),
                    [](char c, std::uint8_t b) { return static_cast<std::uint8_t>(c) == b; });
}

std::optional<std::uint32_t> BigEndian32(std::span<const std::uint8_t> bytes, std::size_t at) {
  if (bytes.size() < at + 4) return std::nullopt;
  return std::uint32_t{bytes[at]} << 24 | std::uint32_t{bytes[at + 1]} << 16 |
         std::uint32_t{bytes[at + 2]} << 8 | std::uint32_t{bytes[at + 3]};
}

} // namespace

VbrHeader ParseXing(std::span<const std::uint8_t> bytes) {
  VbrHeader out;
  if (StartsWith(bytes, "Xing"))
    out.kind = VbrKind::Xing;
  else if (StartsWith(bytes, "Info"))
    out.kind = VbrKind::Info;
  else
    return out;
  const std::uint32_t flags = BigEndian32(bytes, 4).value_or(0);
  std::size_t at = 8;
  if (flags & kXingFramesFlag) {
    out.frames = BigEndian32(bytes, at);
    at += 4;
  }
  if (flags & kXingBytesFlag) out.bytes = BigEndian32(bytes, at);
  return out;
}

VbrHeader ParseVbri(std::span<const std::uint8_t> bytes) {
  if (!StartsWith(bytes, "VBRI") || bytes.size() < kVbriSize) return {};
  return VbrHeader{.kind = VbrKind::Vbri,
                   .frames = BigEndian32(bytes, kVbriFramesAt),
                   .bytes = BigEndian32(bytes, kVbriBytesAt)};
}

VbrHeader FindVbrHeader(const FrameHeader& h, std::span<const std::uint8_t> frame) {
  const std::size_t behind_side_info =
      kXingDirectOffset + static_cast<std::size_t>(SideInfoSize(h));
  const bool crc = h.protection == 0;
  const std::size_t places[] = {
      behind_side_info, crc ? behind_side_info + kCrcSize : behind_side_info, kXingDirectOffset,
      crc ? kXingDirectOffset + kCrcSize : kXingDirectOffset};
  for (const std::size_t at : places) {
    if (at >= frame.size()) continue;
    VbrHeader found = ParseXing(frame.subspan(at));
    if (found.kind != VbrKind::None) {
      found.offset = at;
      return found;
    }
  }
  if (kVbriOffset < frame.size()) {
    VbrHeader found = ParseVbri(frame.subspan(kVbriOffset));
    if (found.kind != VbrKind::None) {
      found.offset = kVbriOffset;
      return found;
    }
  }
  return {};
}

} // namespace id3::mpeg
