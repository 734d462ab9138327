// The two-window source gives exactly the bytes of the source beneath, and
// goes back to it only outside its windows.
#include "mpeginfo/stream.h"

#include "mpeg_synth.h"

#include <gtest/gtest.h>

namespace id3::mpeg {
namespace {

TEST(WindowedSource, SameBytesAsTheSourceAndReadsOnlyOutsideTheWindows) {
  std::vector<std::uint8_t> storage; // one storage for all sizes, as over many files
  for (const std::uint64_t size : {0u, 100u, 65u * 1024, 300u * 1024}) {
    test::Bytes bytes(static_cast<std::size_t>(size));
    for (std::size_t i = 0; i < bytes.size(); ++i)
      bytes[i] = static_cast<std::uint8_t>(i * 131 + i / 7);
    const test::CountingSource counting(bytes);
    const auto windowed = WindowedSource::Read(counting, storage);
    ASSERT_TRUE(windowed);
    EXPECT_EQ(counting.reads, size == 0 ? 1 : size <= 64 * 1024 ? 1 : 2) << size;

    const MemorySource plain(bytes);
    const std::uint64_t offsets[] = {0, 1, 4000, 65535, 65536, 70000, size - 128, size - 1, size};
    for (const std::uint64_t offset : offsets) {
      if (offset > size) continue;
      for (const std::size_t length : {1u, 10u, 128u, 5000u}) {
        const int reads = counting.reads;
        test::Bytes want(length), got(length);
        const auto a = plain.ReadAt(offset, want);
        const auto b = windowed->ReadAt(offset, got);
        ASSERT_TRUE(a && b);
        ASSERT_EQ(*a, *b) << size << " at " << offset << " for " << length;
        EXPECT_EQ(want, got) << size << " at " << offset << " for " << length;
        // Inside a window, or in the head up to the end of a short source.
        const bool in_head = offset + length <= 64 * 1024 || size <= 64 * 1024;
        const bool in_tail = offset >= size - std::min<std::uint64_t>(size, 128);
        EXPECT_EQ(counting.reads, reads + (in_head || in_tail ? 0 : 1)) << offset << " " << length;
      }
    }
  }
}

} // namespace
} // namespace id3::mpeg
