// Bytes in memory that count the reads made of them, the bytes read and the
// largest read, and fail every read that reaches a given offset.
#pragma once

#include "tools/bytesource.h"

#include <algorithm>
#include <limits>

namespace id3::test {

class CountingSource final : public io::ByteSource {
public:
  explicit CountingSource(std::span<const std::uint8_t> bytes) : mem_(bytes) {}
  std::uint64_t Size() const override { return mem_.Size(); }
  io::Result<std::size_t> ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) const override {
    ++reads;
    if (offset + out.size() > fail_from) return std::unexpected(io::IoError::Other);
    const auto got = mem_.ReadAt(offset, out);
    bytes_read += *got;
    largest_read = std::max(largest_read, out.size());
    return got;
  }
  mutable int reads = 0;
  mutable std::uint64_t bytes_read = 0;
  mutable std::size_t largest_read = 0;
  std::uint64_t fail_from = std::numeric_limits<std::uint64_t>::max();

private:
  io::MemorySource mem_;
};

} // namespace id3::test
