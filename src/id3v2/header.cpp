#include "id3v2/header.h"

#include <algorithm>

namespace id3::id3v2 {
namespace {

constexpr std::uint8_t kSynchsafeTopBit = 0x80;

std::optional<Header> ParseMarked(std::span<const std::uint8_t> b, const char (&magic)[4]) {
  if (b.size() < header::kSize || !std::equal(magic, magic + 3, b.begin())) return std::nullopt;
  const std::uint8_t major = b[header::kMajorOffset];
  const std::uint8_t revision = b[header::kRevisionOffset];
  if (major == header::kUnknownVersion || revision == header::kUnknownVersion) return std::nullopt;
  const auto size = Synchsafe(b.subspan(header::kSizeOffset).first<4>());
  if (!size) return std::nullopt;
  return Header{
      .major = major, .revision = revision, .flags = b[header::kFlagsOffset], .size = *size};
}

bool IsIdByte(std::uint8_t c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }

} // namespace

std::optional<std::uint32_t> Synchsafe(std::span<const std::uint8_t, 4> bytes) {
  std::uint32_t value = 0;
  for (const std::uint8_t b : bytes) {
    if (b & kSynchsafeTopBit) return std::nullopt;
    value = value << 7 | b;
  }
  return value;
}

std::uint32_t BigEndian(std::span<const std::uint8_t> bytes) {
  std::uint32_t value = 0;
  for (const std::uint8_t b : bytes) value = value << 8 | b;
  return value;
}

std::uint64_t Header::Length() const {
  return header::kSize + std::uint64_t{size} + (Has(header::kFooter) ? header::kFooterSize : 0);
}

std::optional<Header> ParseHeader(std::span<const std::uint8_t> bytes) {
  return ParseMarked(bytes, "ID3");
}

std::optional<Header> ParseFooter(std::span<const std::uint8_t> bytes) {
  return ParseMarked(bytes, "3DI");
}

std::uint64_t ExtendedHeaderLength(std::uint8_t major, std::span<const std::uint8_t> body) {
  if (body.size() < extended::kSizeWidth || IsFrameId(major, body)) return 0;
  const auto size_bytes = body.first<extended::kSizeWidth>();
  const std::uint32_t size = major == 3 ? BigEndian(size_bytes) : Synchsafe(size_bytes).value_or(0);
  if (size < extended::kMinimum) return 0;
  return major == 3 ? extended::kSizeWidth + std::uint64_t{size} : size;
}

std::size_t FrameHeaderSize(std::uint8_t major) {
  return major == 2 ? frame::kHeaderSize22 : frame::kHeaderSize;
}

bool IsFrameId(std::uint8_t major, std::span<const std::uint8_t> bytes) {
  const std::size_t width = major == 2 ? frame::kIdWidth22 : frame::kIdWidth;
  return bytes.size() >= width && std::all_of(bytes.begin(), bytes.begin() + width, IsIdByte);
}

FrameHeader ParseFrameHeader(std::uint8_t major, std::span<const std::uint8_t> b) {
  FrameHeader h;
  if (major == 2) {
    std::copy_n(b.begin(), frame::kIdWidth22, h.id.begin());
    h.plain_size = BigEndian(b.subspan(frame::kIdWidth22, frame::kSizeWidth22));
    h.size = h.plain_size;
    return h;
  }
  std::copy_n(b.begin(), frame::kIdWidth, h.id.begin());
  const auto size_bytes = b.subspan(frame::kSizeOffset).first<4>();
  h.plain_size = BigEndian(size_bytes);
  h.size = major == 4 ? Synchsafe(size_bytes) : h.plain_size;
  h.flags = static_cast<std::uint16_t>(BigEndian(b.subspan(frame::kFlagsOffset, 2)));
  return h;
}

Landing LandingOf(std::uint8_t major, std::span<const std::uint8_t> at) {
  if (at.size() < FrameHeaderSize(major)) return Landing::kEnd;
  if (IsFrameId(major, at)) return Landing::kFrame;
  if (at[0] == 0) return Landing::kPadding;
  return Landing::kNowhere;
}

std::uint32_t ChooseFrameSize(const FrameHeader& h, Landing synchsafe, Landing plain) {
  if (!h.size) return h.plain_size;
  const auto lands = [](Landing l) { return l == Landing::kFrame || l == Landing::kEnd; };
  if (lands(synchsafe)) return *h.size;
  if (lands(plain)) return h.plain_size;
  if (synchsafe == Landing::kNowhere && plain == Landing::kPadding) return h.plain_size;
  return *h.size;
}

std::optional<FramePrefix> ParseFramePrefix(std::uint8_t major, const FrameHeader& h,
                                            bool tag_unsynchronised,
                                            std::span<const std::uint8_t> body) {
  FramePrefix p;
  const auto take = [&](bool flag, std::size_t width) { p.length += flag ? width : 0; };
  if (major == 3) {
    p.compressed = h.Has(frame::kCompressed23);
    p.encrypted = h.Has(frame::kEncrypted23);
    take(p.compressed, frame::kDecompressedSizeWidth);
    take(p.encrypted, frame::kMethodWidth);
    take(h.Has(frame::kGrouped23), frame::kGroupWidth);
  } else if (major == 4) {
    p.compressed = h.Has(frame::kCompressed24);
    p.encrypted = h.Has(frame::kEncrypted24);
    p.unsynchronised = tag_unsynchronised || h.Has(frame::kUnsynchronised24);
    take(h.Has(frame::kGrouped24), frame::kGroupWidth);
    take(p.encrypted, frame::kMethodWidth);
    take(h.Has(frame::kDataLength24), frame::kDataLengthWidth);
  }
  if (p.length > body.size()) return std::nullopt;
  return p;
}

} // namespace id3::id3v2
