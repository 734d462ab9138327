// Arbitrary file contents through the reader of the file's end, and the
// plans of set and remove made from it. The blocks found lie one behind the
// other up to the file's end; the record is the last 128 bytes; and a planned
// write or cut touches nothing but the ID3v1 record and its TAG+ block (or
// appends behind the last byte). An unclear end is refused by both.
#include "tagstore/trailing.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <span>

namespace {

using namespace id3;

void Check(bool ok) {
  if (!ok) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  const io::MemorySource src(bytes);
  const auto end = ReadFileEnd(src, size > 0 ? data[0] % 64 : 0);
  Check(end.has_value());

  std::uint64_t at = end->audio_end;
  for (const Block& b : end->blocks) {
    Check(b.offset == at && b.size > 0);
    at += b.size;
  }
  Check(at == size);
  // What set and remove may touch: the record and its TAG+ block.
  std::uint64_t ours = size;
  Check(end->record || !end->tag_plus);
  if (end->record) {
    Check(size >= record::kSize && end->blocks.back().kind == EndBlock::kId3v1);
    Check(std::ranges::equal(*end->record, bytes.last(record::kSize)));
    Check(HasTagMarker(*end->record));
    ours -= record::kSize;
    if (end->tag_plus) {
      ours -= tagplus::kSize;
      Check(std::ranges::equal(*end->tag_plus, bytes.subspan(ours, tagplus::kSize)));
    }
  }

  TagEdit edit;
  edit.title = "title";
  edit.album = "album";
  const auto set = PlanSet(*end, edit);
  const auto remove = PlanRemove(*end);
  Check(set.has_value() == !end->unclear && remove.has_value() == !end->unclear);
  if (!set) return 0;
  Check(set->record_offset == (end->record ? size - record::kSize : size));
  Check(set->append == !end->record);
  if (set->tag_plus) {
    const auto& [offset, plus] = *set->tag_plus;
    Check(end->tag_plus && offset == ours);
    // Only the text parts of the fields written change.
    for (std::size_t i = 0; i < tagplus::kSize; ++i) {
      const bool written =
          (i >= tagplus::kTitleOffset && i < tagplus::kTitleOffset + tagplus::kTextWidth) ||
          (i >= tagplus::kAlbumOffset && i < tagplus::kAlbumOffset + tagplus::kTextWidth);
      Check(written ? plus[i] == 0 : plus[i] == (*end->tag_plus)[i]);
    }
  }
  Check(remove->cut_to ? *remove->cut_to == ours && end->record : !end->record);
  return 0;
}
