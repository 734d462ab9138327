#include "startup/regformat.h"

#include <algorithm>

namespace id3::startup {

std::string FormatRegNumber(std::span<const std::uint8_t> data) {
  std::uint32_t number = 0;
  for (std::size_t i = 0; i < data.size() && i < 4; ++i)
    number |= static_cast<std::uint32_t>(data[i]) << (8 * i);
  const std::string text = std::to_string(number);
  return std::string(3 - std::min<std::size_t>(text.size(), 3), '0') + text;
}

std::string FormatRegBytes(std::span<const std::uint8_t> data) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string text;
  for (std::uint8_t b : data) {
    text += kHex[b >> 4];
    text += kHex[b & 0x0F];
  }
  return text;
}

} // namespace id3::startup
