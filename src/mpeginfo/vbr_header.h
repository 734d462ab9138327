// The header blocks that encoders write into the first frame of a stream:
// "Xing" (variable bit rate), "Info" (the same block in a constant-bit-rate
// file) and Fraunhofer's "VBRI". Pure functions over the frame's bytes.
//
// Xing / Info, at the offset FindVbrHeader tries (all numbers big-endian):
//   0  4  "Xing" or "Info", compared exactly
//   4  4  flags: bit 0 frame count present, bit 1 byte count present
//   8  4  frame count, when flagged
//   .  4  byte count, when flagged; directly after the frame count, or at 8
//         when there is none
// VBRI, 36 bytes from the header's first byte:
//   0  4  "VBRI"
//   4  2  version, 6 2 delay, 8 2 quality
//  10  4  byte count
//  14  4  frame count
#pragma once

#include "mpeginfo/frame_header.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace id3::mpeg {

enum class VbrKind { None, Xing, Info, Vbri };

struct VbrHeader {
  VbrKind kind = VbrKind::None;
  std::optional<std::uint32_t> frames; // frames of audio, the block's own frame not counted
  std::optional<std::uint32_t> bytes;  // bytes of audio the block counts
  std::size_t offset{};                // of the block, from the header's first byte

  bool operator==(const VbrHeader&) const = default;
};

// Where a Xing block is looked for, in bytes from the header's first byte.
constexpr std::size_t kXingDirectOffset = 4; // directly behind the header
constexpr std::size_t kVbriOffset = 36;
constexpr std::size_t kCrcSize = 2;
// Bytes from the header's first byte that cover every place a block is looked
// for: the farthest Xing place with its three numbers, and VBRI.
constexpr std::size_t kVbrWindow = 64;

// The Xing or Info block at the start of bytes; None when there is none. A
// count the flags announce but bytes does not hold is left out.
VbrHeader ParseXing(std::span<const std::uint8_t> bytes);
// The VBRI block at the start of bytes; None when there is none or it is cut.
VbrHeader ParseVbri(std::span<const std::uint8_t> bytes);

// The block in the frame that starts with header h, frame being its bytes from
// the header's first byte on (kVbrWindow of them, fewer at the end of the
// file). Xing and Info are looked for behind the side information (4 + its
// size from the header start), and directly behind the header; for a frame
// with a CRC also 2 bytes further on at each place. Then VBRI.
VbrHeader FindVbrHeader(const FrameHeader& h, std::span<const std::uint8_t> frame);

} // namespace id3::mpeg
