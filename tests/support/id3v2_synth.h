// ID3v2 frames put together for the tests, of each version's layout.
#pragma once

#include "mpeg_synth.h"

#include <string_view>

namespace id3::test {

// A frame: identifier, size (3 bytes in 2.2, synchsafe in 2.4, else plain),
// the flags (not in 2.2), then data.
inline Bytes V2Frame(std::uint8_t major, std::string_view id, const Bytes& data,
                     std::uint16_t flags = 0) {
  const auto n = static_cast<std::uint32_t>(data.size());
  const Bytes size = major == 4 ? Synchsafe(n) : Be32(n);
  if (major == 2) return Concat({Text(id), Bytes(size.begin() + 1, size.end()), data});
  const Bytes flag_bytes = {static_cast<std::uint8_t>(flags >> 8),
                            static_cast<std::uint8_t>(flags)};
  return Concat({Text(id), size, flag_bytes, data});
}

// A text frame's data: the encoding byte, then the bytes as given.
inline Bytes TextData(std::string_view bytes, std::uint8_t encoding = 0) {
  return Concat({Bytes{encoding}, Text(bytes)});
}

// A comment frame's data in Latin-1.
inline Bytes CommData(std::string_view description, std::string_view text,
                      std::string_view language = "eng") {
  return Concat({Bytes{0}, Text(language), Text(description), Bytes{0}, Text(text)});
}

} // namespace id3::test
