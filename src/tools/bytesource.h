// Bytes to be read at offsets: a file, a buffer in memory, or a file read
// through two windows kept in memory. Parsers take a ByteSource and ask only
// for the ranges they need, so what they skip is never read.
#pragma once

#include "tools/fileio.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace id3::io {

class ByteSource {
public:
  virtual ~ByteSource() = default;
  virtual std::uint64_t Size() const = 0;
  // Reads up to out.size() bytes at offset; fewer only at the end.
  virtual Result<std::size_t> ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) const = 0;
  // The same bytes without a copy, where the source holds them all in memory;
  // nothing where it would have to read.
  virtual std::optional<std::span<const std::uint8_t>> View(std::uint64_t, std::size_t) const {
    return std::nullopt;
  }
};

class MemorySource final : public ByteSource {
public:
  explicit MemorySource(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  std::uint64_t Size() const override { return bytes_.size(); }
  Result<std::size_t> ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) const override;
  std::optional<std::span<const std::uint8_t>> View(std::uint64_t offset,
                                                    std::size_t size) const override;

private:
  std::span<const std::uint8_t> bytes_;
};

class FileSource final : public ByteSource {
public:
  FileSource(const File& file, std::uint64_t size) : file_(file), size_(size) {}
  std::uint64_t Size() const override { return size_; }
  Result<std::size_t> ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) const override;

private:
  const File& file_;
  std::uint64_t size_;
};

// Another source read through two windows kept in memory, its first bytes and
// its last ones, so that a scan which stays near the ends of the file (the
// usual case: tags, the first frame, its VBR block) costs two reads. Reads
// outside the windows go to the source itself.
class WindowedSource final : public ByteSource {
public:
  static constexpr std::size_t kHeadSize = 64 * 1024;
  // The blocks at the end of a file (tags, lyrics, an appended ID3v2 tag's
  // footer) as the reader of the file's end reads them at once.
  static constexpr std::size_t kTailSize = 4 * 1024;

  // The windows are read into storage, which must outlive the source; one
  // storage serves file after file without being allocated again.
  static Result<WindowedSource> Read(const ByteSource& inner, std::vector<std::uint8_t>& storage);
  std::uint64_t Size() const override { return inner_->Size(); }
  Result<std::size_t> ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) const override;
  std::optional<std::span<const std::uint8_t>> View(std::uint64_t offset,
                                                    std::size_t size) const override;

private:
  explicit WindowedSource(const ByteSource& inner) : inner_(&inner) {}
  const ByteSource* inner_;
  std::span<const std::uint8_t> head_;
  std::span<const std::uint8_t> tail_;
  std::uint64_t tail_offset_{};
};

// Reads as much of out as the source holds at offset; how many bytes that was.
Result<std::size_t> ReadUpTo(const ByteSource& src, std::uint64_t offset,
                             std::span<std::uint8_t> out);

// Up to size bytes at offset: in place where the source holds them, else
// read into storage. Fewer only at the end of the source.
Result<std::span<const std::uint8_t>> ViewOrRead(const ByteSource& src, std::uint64_t offset,
                                                 std::size_t size,
                                                 std::vector<std::uint8_t>& storage);

} // namespace id3::io
