// Any 128 bytes as an ID3v1 record: parsing never fails, and a record read and
// written back keeps every field, the track and the genre byte.
#include "tagstore/tag.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < id3::record::kSize) return 0;
  id3::TagRecord rec{};
  std::memcpy(rec.data(), data, rec.size());
  const id3::CodePage cp = id3::CodePage::Windows1252();
  const id3::TagFields first = id3::ParseTagRecord(rec, cp);
  if (!first.HasTag()) return 0;
  const id3::TagFields again = id3::ParseTagRecord(id3::RenderTagRecord(first, cp), cp);
  if (!(again == first)) std::abort();
  return 0;
}
