// The byte layout of an ID3v2 tag: its header and footer, the extended
// header, the frame headers of versions 2.2, 2.3 and 2.4, and what the frame
// flags add in front of a frame's data. Pure functions over bytes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace id3::id3v2 {

// The tag header: 10 bytes at the tag's start; a 2.4 tag may repeat them as
// a footer behind its body, marked "3DI".
//   0  3  "ID3" ("3DI" in the footer)
//   3  1  major version (2, 3 or 4; never 0xFF)
//   4  1  revision (never 0xFF)
//   5  1  flags
//   6  4  size of the body (less header and footer), synchsafe
namespace header {
constexpr std::size_t kSize = 10;
constexpr std::size_t kMajorOffset = 3;
constexpr std::size_t kRevisionOffset = 4;
constexpr std::size_t kFlagsOffset = 5;
constexpr std::size_t kSizeOffset = 6;
constexpr std::size_t kFooterSize = 10;
constexpr std::uint8_t kUnknownVersion = 0xFF;
constexpr std::uint8_t kUnsynchronisation = 0x80;
// 2.2 gave this bit to a compression of the whole tag that it never defined.
constexpr std::uint8_t kCompressed22 = 0x40;
constexpr std::uint8_t kExtendedHeader = 0x40; // 2.3 and 2.4
constexpr std::uint8_t kFooter = 0x10;         // 2.4; counted in any version, as FFmpeg does
} // namespace header

// A synchsafe integer: 7 bits in each of 4 bytes, most significant first, the
// top bit of each byte 0. Nothing when a top bit is set.
std::optional<std::uint32_t> Synchsafe(std::span<const std::uint8_t, 4> bytes);
// An unsigned big-endian integer of up to 4 bytes.
std::uint32_t BigEndian(std::span<const std::uint8_t> bytes);

struct Header {
  std::uint8_t major{};
  std::uint8_t revision{};
  std::uint8_t flags{};
  std::uint32_t size{}; // of the body
  bool Has(std::uint8_t flag) const { return (flags & flag) != 0; }
  // Header, body and footer.
  std::uint64_t Length() const;
  bool operator==(const Header&) const = default;
};

// The header at the start of bytes; nothing when they do not start with one.
std::optional<Header> ParseHeader(std::span<const std::uint8_t> bytes);
// The same for a footer ("3DI").
std::optional<Header> ParseFooter(std::span<const std::uint8_t> bytes);

// The extended header, first in the body when the header's flag says so:
//   2.3: size (4 bytes, plain) not counting those 4, so 6 or 10; flags,
//        padding size and an optional CRC follow.
//   2.4: size (4 bytes, synchsafe) counting itself, at least 6; the number of
//        flag bytes and the flags follow.
namespace extended {
constexpr std::size_t kSizeWidth = 4;
constexpr std::uint32_t kMinimum = 6;
} // namespace extended

// How many bytes the extended header at the start of body takes. 0 where the
// header flag is set but the bytes begin a frame instead (taggers have written
// the flag alone), or give a size too small for an extended header. One that
// claims more than the tag holds leaves no frames to read.
std::uint64_t ExtendedHeaderLength(std::uint8_t major, std::span<const std::uint8_t> body);

// A frame header:
//   2.2:  0 3 identifier, 3 3 size (plain)
//   2.3:  0 4 identifier, 4 4 size (plain),      8 2 flags
//   2.4:  0 4 identifier, 4 4 size (synchsafe),  8 2 flags
// An identifier is capital letters and digits; the size counts what follows
// the header.
namespace frame {
constexpr std::size_t kIdWidth22 = 3, kSizeWidth22 = 3, kHeaderSize22 = 6;
constexpr std::size_t kIdWidth = 4, kSizeOffset = 4, kFlagsOffset = 8, kHeaderSize = 10;
// Format flags, the second flag byte. 2.3:
constexpr std::uint16_t kCompressed23 = 0x0080;
constexpr std::uint16_t kEncrypted23 = 0x0040;
constexpr std::uint16_t kGrouped23 = 0x0020;
// 2.4:
constexpr std::uint16_t kGrouped24 = 0x0040;
constexpr std::uint16_t kCompressed24 = 0x0008;
constexpr std::uint16_t kEncrypted24 = 0x0004;
constexpr std::uint16_t kUnsynchronised24 = 0x0002;
constexpr std::uint16_t kDataLength24 = 0x0001;
// What the flags put between the header and the data, in this order. 2.3:
// the decompressed size, the encryption method, the group. 2.4: the group,
// the encryption method, the data length. The lengths are not needed (zlib
// knows where its stream ends), and eyeD3 writes the 2.4 one as a plain
// integer where it should be synchsafe.
constexpr std::size_t kDecompressedSizeWidth = 4;
constexpr std::size_t kMethodWidth = 1;
constexpr std::size_t kGroupWidth = 1;
constexpr std::size_t kDataLengthWidth = 4;
} // namespace frame

std::size_t FrameHeaderSize(std::uint8_t major);

struct FrameHeader {
  std::array<char, frame::kIdWidth> id{}; // a 2.2 identifier in the first 3
  // The size as written: for 2.4 the synchsafe reading, or nothing where the
  // bytes are not synchsafe.
  std::optional<std::uint32_t> size;
  // The same bytes as a plain integer, as old encoders wrote 2.4 sizes.
  std::uint32_t plain_size{};
  std::uint16_t flags{};
  bool Has(std::uint16_t flag) const { return (flags & flag) != 0; }
};

// The frame header at the start of bytes, which hold at least
// FrameHeaderSize(major) of them.
FrameHeader ParseFrameHeader(std::uint8_t major, std::span<const std::uint8_t> bytes);

// True when the first bytes are a frame identifier of the version.
bool IsFrameId(std::uint8_t major, std::span<const std::uint8_t> bytes);

// What lies where a frame ends: another frame, the padding, the tag's end
// (too little room left for a frame header), or something else. `at` are the
// bytes there, as many as the tag still holds up to a frame header's size.
enum class Landing { kFrame, kPadding, kEnd, kNowhere };
Landing LandingOf(std::uint8_t major, std::span<const std::uint8_t> at);

// Of the two readings of a 2.4 frame size, the one to use: the synchsafe one
// where it lands on a frame or the tag's end, else the plain one where that
// does, else the plain one where it lands on padding and the synchsafe one
// nowhere (the last frame of a tag written with plain sizes), else the
// synchsafe one. A size that is not synchsafe is plain.
std::uint32_t ChooseFrameSize(const FrameHeader& h, Landing synchsafe, Landing plain);

// What the flags put in front of the data, and what they ask of it.
struct FramePrefix {
  std::size_t length = 0; // bytes between header and data
  bool encrypted = false;
  bool compressed = false;
  bool unsynchronised = false;
};
// Nothing when the frame is too short for what its flags announce.
std::optional<FramePrefix> ParseFramePrefix(std::uint8_t major, const FrameHeader& h,
                                            bool tag_unsynchronised,
                                            std::span<const std::uint8_t> body);

} // namespace id3::id3v2
