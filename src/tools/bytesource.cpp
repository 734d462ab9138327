#include "tools/bytesource.h"

#include <algorithm>

namespace id3::io {

std::optional<std::span<const std::uint8_t>> MemorySource::View(std::uint64_t offset,
                                                                std::size_t size) const {
  if (offset >= bytes_.size()) return bytes_.last(0);
  return bytes_.subspan(
      static_cast<std::size_t>(offset),
      static_cast<std::size_t>(std::min<std::uint64_t>(size, bytes_.size() - offset)));
}

Result<std::size_t> MemorySource::ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) const {
  const auto view = View(offset, out.size());
  std::copy(view->begin(), view->end(), out.begin());
  return view->size();
}

Result<WindowedSource> WindowedSource::Read(const ByteSource& inner,
                                            std::vector<std::uint8_t>& storage) {
  WindowedSource src(inner);
  storage.resize(kHeadSize + kTailSize);
  const std::uint64_t size = inner.Size();
  const std::span<std::uint8_t> head(
      storage.data(), static_cast<std::size_t>(std::min<std::uint64_t>(size, kHeadSize)));
  auto got = inner.ReadAt(0, head);
  if (!got) return std::unexpected(got.error());
  src.head_ = head.first(*got);
  if (size > src.head_.size()) {
    src.tail_offset_ = size - std::min<std::uint64_t>(size - src.head_.size(), kTailSize);
    const std::span<std::uint8_t> tail(storage.data() + kHeadSize,
                                       static_cast<std::size_t>(size - src.tail_offset_));
    got = inner.ReadAt(src.tail_offset_, tail);
    if (!got) return std::unexpected(got.error());
    src.tail_ = tail.first(*got);
  }
  return src;
}

std::optional<std::span<const std::uint8_t>> WindowedSource::View(std::uint64_t offset,
                                                                  std::size_t size) const {
  const std::uint64_t want = std::min<std::uint64_t>(size, Size() - std::min(offset, Size()));
  for (const auto& [window, start] :
       {std::pair(head_, std::uint64_t{0}), std::pair(tail_, tail_offset_)}) {
    // A view that runs past a window is given only where the window reaches
    // the end of the source.
    if (offset >= start && offset + want <= start + window.size())
      return window.subspan(static_cast<std::size_t>(offset - start),
                            static_cast<std::size_t>(want));
  }
  // A file a little longer than the head: its tail follows the head in the
  // file and in storage, so a range across both is one view.
  if (!tail_.empty() && tail_offset_ == head_.size() &&
      head_.data() + head_.size() == tail_.data() && offset + want <= tail_offset_ + tail_.size())
    return std::span(head_.data() + offset, static_cast<std::size_t>(want));
  return std::nullopt;
}

Result<std::size_t> WindowedSource::ReadAt(std::uint64_t offset,
                                           std::span<std::uint8_t> out) const {
  const auto view = View(offset, out.size());
  if (!view) return inner_->ReadAt(offset, out);
  std::copy(view->begin(), view->end(), out.begin());
  return view->size();
}

Result<std::size_t> FileSource::ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) const {
  return file_.ReadSomeAt(offset, out);
}

Result<std::size_t> ReadUpTo(const ByteSource& src, std::uint64_t offset,
                             std::span<std::uint8_t> out) {
  std::size_t done = 0;
  while (done < out.size()) {
    const auto got = src.ReadAt(offset + done, out.subspan(done));
    if (!got) return std::unexpected(got.error());
    if (*got == 0) break;
    done += *got;
  }
  return done;
}

Result<std::span<const std::uint8_t>> ViewOrRead(const ByteSource& src, std::uint64_t offset,
                                                 std::size_t size,
                                                 std::vector<std::uint8_t>& storage) {
  if (const auto view = src.View(offset, size)) return *view;
  storage.resize(size);
  const auto got = ReadUpTo(src, offset, storage);
  if (!got) return std::unexpected(got.error());
  return std::span<const std::uint8_t>(storage).first(*got);
}

} // namespace id3::io
