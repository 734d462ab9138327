// Arbitrary file contents through the ID3v2 reader and the rules that fill an
// ID3v1 tag from it: nothing is read outside the buffer, every text is
// well-formed UTF-8 without a zero, and what the rules propose fits an ID3v1
// tag: a year of four digits, a track of one byte, a genre of the table.
#include "id3v2/fields.h"
#include "id3v2/to_id3v1.h"
#include "tagstore/genres.h"

#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

namespace {

// Well-formed UTF-8, which comes out of its repair as it went in, without a
// zero.
bool Clean(const std::string& text) {
  return text.find('\0') == std::string::npos && id3::utf8::MakeWellFormed(text) == text;
}

bool Clean(const std::optional<std::string>& text) { return !text || Clean(*text); }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace id3::id3v2;
  const id3::io::MemorySource src(std::span<const std::uint8_t>(data, size));
  const auto found = Read(src, id3::CodePage::Windows1252());
  if (!found) std::abort(); // memory does not fail
  for (const PlacedTag& other : found->others)
    if (other.offset >= size) std::abort();
  if (!found->tag) return 0;
  const Tag& tag = *found->tag;
  for (const auto& values : tag.texts)
    for (const std::string& v : values.value_or(std::vector<std::string>{}))
      if (v.empty() || !Clean(v)) std::abort();
  const Fields f = ShownFields(tag);
  const Proposal p = ProposeId3v1(tag);
  const bool ok = Clean(f.title) && Clean(f.artist) && Clean(f.album) && Clean(f.year) &&
                  Clean(f.comment) && Clean(f.track) && Clean(f.genre) && Clean(p.title) &&
                  Clean(p.artist) && Clean(p.album) && Clean(p.comment) &&
                  (!p.year || (p.year->size() == 4 &&
                               p.year->find_first_not_of("0123456789") == std::string::npos)) &&
                  (!p.genre || *p.genre < id3::kGenreCount);
  if (!ok) std::abort();
  return 0;
}
