// The path and size helpers over arbitrary text and numbers: the file name is
// a tail of the path, the name without extension a head of it, and a size
// always reads as a number and a unit.
#include "tools/paths.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::string name = id3::FileNameOf(text);
  if (!text.ends_with(name)) std::abort();
  const std::string stem = id3::StripExtension(text);
  if (!text.starts_with(stem) || stem.size() >= text.size() + (text.empty() ? 1 : 0)) std::abort();
  if (size >= sizeof(double)) {
    double value = 0;
    std::memcpy(&value, data, sizeof value);
    const std::string shown = id3::FormatFileSize(value);
    const bool unit = shown.ends_with(" Bytes") || shown.ends_with(" KB") ||
                      shown.ends_with(" MB") || shown.ends_with(" GB");
    if (!unit) std::abort();
  }
  return 0;
}
