// The two-window source gives exactly the bytes of the source beneath, and
// goes back to it only outside its windows.
#include "mpeginfo/stream.h"

#include "synth.h"

#include <gtest/gtest.h>

#include <vector>

namespace id3::mpeg {
namespace {

using test::CountingSource;

TEST(WindowedSource, SameBytesAsTheSourceAndFewReads) {
  for (std::size_t size :
       {std::size_t{0}, std::size_t{100}, std::size_t{65 * 1024}, std::size_t{300 * 1024}}) {
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(i * 131 + i / 7);
    const CountingSource counting(bytes);
    const auto windowed = WindowedSource::Read(counting);
    ASSERT_TRUE(windowed);
    EXPECT_LE(counting.reads, 2) << size;

    const MemorySource plain(bytes);
    const std::uint64_t offsets[] = {0, 1, 4000, 65535, 65536, 70000, size - 128, size - 1, size};
    for (std::uint64_t offset : offsets) {
      if (offset > size) continue;
      for (std::size_t length : {1u, 10u, 128u, 5000u}) {
        std::vector<std::uint8_t> want(length), got(length);
        const auto a = plain.ReadAt(offset, want);
        const auto b = windowed->ReadAt(offset, got);
        ASSERT_TRUE(a && b);
        ASSERT_EQ(*a, *b) << size << " at " << offset << " for " << length;
        EXPECT_TRUE(std::equal(want.begin(), want.begin() + *a, got.begin()))
            << size << " at " << offset << " for " << length;
      }
    }
  }
}

TEST(WindowedSource, ReadsNearTheEndsNeedNoFurtherReads) {
  std::vector<std::uint8_t> bytes(500 * 1024, 7);
  const CountingSource counting(bytes);
  const auto windowed = WindowedSource::Read(counting);
  ASSERT_TRUE(windowed);
  const int after_setup = counting.reads;
  std::vector<std::uint8_t> buf(4096);
  ASSERT_TRUE(windowed->ReadAt(0, buf));
  ASSERT_TRUE(windowed->ReadAt(60 * 1024, std::span(buf).first(1024)));
  ASSERT_TRUE(windowed->ReadAt(bytes.size() - 128, std::span(buf).first(128)));
  EXPECT_EQ(counting.reads, after_setup);
  ASSERT_TRUE(windowed->ReadAt(200 * 1024, buf));
  EXPECT_EQ(counting.reads, after_setup + 1);
}

} // namespace
} // namespace id3::mpeg
