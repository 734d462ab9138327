// Arbitrary file contents through the whole scan: ID3v2 skipping, the bounded
// frame search with its next-frame check, the VBR blocks, the walk over the
// frames and the derived facts. Nothing is read outside the buffer, and what
// comes out is within its ranges: never a negative bit rate or duration.
#include "mpeginfo/stream.h"

#include <cstdint>
#include <cstdlib>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const id3::io::MemorySource src(std::span<const std::uint8_t>(data, size));
  const auto info = id3::mpeg::AnalyseStream(src);
  if (!info) return 0;
  const auto& f = info->facts;
  const bool ok = info->audio.begin <= info->audio.end && info->audio.end <= size &&
                  info->frame.offset >= info->audio.begin &&
                  info->frame.offset < info->audio.begin + id3::mpeg::kSearchLimit &&
                  info->frame.offset + id3::mpeg::kHeaderSize <= size &&
                  (f.frequency == 0 || (f.frequency >= 8000 && f.frequency <= 48000)) &&
                  f.frame_count >= 0 && f.bit_rate >= 0 && f.whole_seconds >= 0 && f.duration >= 0;
  if (!ok) std::abort();
  return 0;
}
