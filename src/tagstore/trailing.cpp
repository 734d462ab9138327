#include "tagstore/trailing.h"

#include <algorithm>
#include <cstring>

namespace id3 {
namespace {

// More blocks than any writer leaves; a crafted file of a thousand tiny ones
// costs no more than this many steps.
constexpr std::size_t kMaxBlocks = 16;

std::uint32_t LittleEndian32(std::span<const std::uint8_t> b) {
  return std::uint32_t{b[0]} | std::uint32_t{b[1]} << 8 | std::uint32_t{b[2]} << 16 |
         std::uint32_t{b[3]} << 24;
}

bool Spells(std::span<const std::uint8_t> bytes, std::string_view text) {
  return bytes.size() >= text.size() && std::memcmp(bytes.data(), text.data(), text.size()) == 0;
}

// The file's last bytes, read once, and the bytes before the block ending
// furthest back, read where a block reaches past them: every check at one
// offset looks at the few bytes before it.
class EndBytes {
public:
  explicit EndBytes(const io::ByteSource& src) : src_(src) {}

  io::Result<void> ReadWindow() {
    const std::uint64_t size = src_.Size();
    const auto got = Fill(tail_, size, size - std::min<std::uint64_t>(size, kEndWindow));
    if (!got) return std::unexpected(got.error());
    return {};
  }

  std::uint64_t WindowOffset() const { return tail_.offset; }

  // Exactly n bytes at offset, which the caller keeps within the file. Valid
  // until the next call.
  io::Result<std::span<const std::uint8_t>> At(std::uint64_t offset, std::size_t n) {
    for (const Window* w : {&tail_, &back_})
      if (offset >= w->offset && offset + n <= w->offset + w->view.size())
        return w->view.subspan(static_cast<std::size_t>(offset - w->offset), n);
    if (n > kEndWindow) {
      const auto got = io::ViewOrRead(src_, offset, n, scratch_);
      if (!got) return std::unexpected(got.error());
      if (got->size() != n) return std::unexpected(io::IoError::ShortRead);
      return *got;
    }
    const std::uint64_t end = offset + n;
    if (auto got = Fill(back_, end, end - std::min<std::uint64_t>(end, kEndWindow)); !got)
      return std::unexpected(got.error());
    return back_.view.subspan(static_cast<std::size_t>(offset - back_.offset), n);
  }

private:
  struct Window {
    std::vector<std::uint8_t> storage;
    std::span<const std::uint8_t> view;
    std::uint64_t offset = 0;
  };

  io::Result<void> Fill(Window& w, std::uint64_t end, std::uint64_t from) {
    const auto got = io::ViewOrRead(src_, from, static_cast<std::size_t>(end - from), w.storage);
    if (!got) return std::unexpected(got.error());
    if (got->size() != end - from) return std::unexpected(io::IoError::ShortRead);
    w.view = *got;
    w.offset = from;
    return {};
  }

  const io::ByteSource& src_;
  Window tail_;
  Window back_;
  std::vector<std::uint8_t> scratch_;
};

// What ends at a given offset: nothing known, a block, or a block's end whose
// size cannot be right.
struct Found {
  std::optional<Block> block;
  std::string unclear;
  bool Nothing() const { return !block && unclear.empty(); }
};

Found Unclear(std::string what) { return {.block = std::nullopt, .unclear = std::move(what)}; }
Found Is(EndBlock kind, std::uint64_t offset, std::uint64_t size) {
  return {.block = Block{kind, offset, size}, .unclear = {}};
}

// Where a size that reaches too far points: before the file or into the ID3v2
// tag at its start.
std::string TooFar(std::string_view what, std::uint64_t reach, std::uint64_t end) {
  return std::string(what) + (reach > end ? " points before the start of the file"
                                          : " points into the ID3v2 tag at the start");
}

class EndReader {
public:
  EndReader(EndBytes& bytes, std::uint64_t floor) : bytes_(bytes), floor_(floor) {}

  // The block that ends at end, trying each kind. The ID3v1 record and TAG+
  // mind no floor, so end may lie below it.
  io::Result<Found> EndingAt(std::uint64_t end) {
    if (end <= floor_) return Found{};
    for (const auto kind : {&EndReader::Ape, &EndReader::Lyrics3v2, &EndReader::Lyrics3v1,
                            &EndReader::AppendedId3v2}) {
      auto found = (this->*kind)(end);
      if (!found || !found->Nothing()) return found;
    }
    return Found{};
  }

private:
  io::Result<Found> Ape(std::uint64_t end) {
    if (end - floor_ < ape::kFooterSize) return Found{};
    const auto footer = bytes_.At(end - ape::kFooterSize, ape::kFooterSize);
    if (!footer) return std::unexpected(footer.error());
    const auto number = [&](std::size_t offset) {
      return LittleEndian32(footer->subspan(offset, ape::kNumberWidth));
    };
    if (!Spells(*footer, ape::kPreamble) || (number(ape::kFlagsOffset) & ape::kIsHeader))
      return Found{};
    const std::uint32_t size = number(ape::kSizeOffset);
    const bool has_header = (number(ape::kFlagsOffset) & ape::kHasHeader) != 0;
    if (size < ape::kFooterSize) return Unclear("an APEv2 footer whose size is less than its own");
    const std::uint64_t whole = std::uint64_t{size} + (has_header ? ape::kHeaderSize : 0);
    if (whole > end - floor_) return Unclear(TooFar("an APEv2 footer whose size", whole, end));
    const std::uint64_t start = end - whole;
    if (has_header) {
      const auto header = bytes_.At(start, ape::kHeaderSize);
      if (!header) return std::unexpected(header.error());
      if (!Spells(*header, ape::kPreamble) ||
          LittleEndian32(header->subspan(ape::kSizeOffset, ape::kNumberWidth)) != size)
        return Unclear("an APEv2 footer that announces a header where there is none");
    }
    return Is(EndBlock::kApe, start, whole);
  }

  io::Result<Found> Lyrics3v2(std::uint64_t end) {
    if (end - floor_ < lyrics3::kTrailerV2) return Found{};
    const auto trailer = bytes_.At(end - lyrics3::kTrailerV2, lyrics3::kTrailerV2);
    if (!trailer) return std::unexpected(trailer.error());
    if (!Spells(trailer->subspan(lyrics3::kSizeDigits), lyrics3::kEndV2)) return Found{};
    std::uint64_t size = 0;
    for (const std::uint8_t digit : trailer->first(lyrics3::kSizeDigits)) {
      if (digit < '0' || digit > '9') return Found{};
      size = size * 10 + (digit - '0');
    }
    const std::uint64_t whole = size + lyrics3::kTrailerV2;
    if (whole > end - floor_) return Unclear(TooFar("a Lyrics3 v2 block whose size", whole, end));
    const std::uint64_t start = end - whole;
    const auto begin = bytes_.At(start, std::min(lyrics3::kBegin.size(), std::size_t(size)));
    if (!begin) return std::unexpected(begin.error());
    if (!Spells(*begin, lyrics3::kBegin))
      return Unclear("a Lyrics3 v2 block whose size does not lead to its LYRICSBEGIN");
    return Is(EndBlock::kLyrics3v2, start, whole);
  }

  // Lyrics hold neither marker, so the nearest LYRICSBEGIN is the block's.
  io::Result<Found> Lyrics3v1(std::uint64_t end) {
    const std::size_t marker = lyrics3::kEndV1.size();
    if (end - floor_ < marker + lyrics3::kBegin.size()) return Found{};
    const auto last = bytes_.At(end - marker, marker);
    if (!last) return std::unexpected(last.error());
    if (!Spells(*last, lyrics3::kEndV1)) return Found{};
    const std::uint64_t lyrics_end = end - marker;
    const std::uint64_t lowest = std::max(
        floor_, lyrics_end - std::min<std::uint64_t>(lyrics_end, lyrics3::kMaxLyricsV1 +
                                                                     lyrics3::kBegin.size()));
    // The part already in memory first; reading further only where it has none.
    for (const std::uint64_t from :
         {std::clamp(bytes_.WindowOffset(), lowest, lyrics_end), lowest}) {
      const auto area = bytes_.At(from, static_cast<std::size_t>(lyrics_end - from));
      if (!area) return std::unexpected(area.error());
      const std::string_view text(reinterpret_cast<const char*>(area->data()), area->size());
      if (const auto at = text.rfind(lyrics3::kBegin); at != std::string_view::npos) {
        const std::uint64_t start = from + at;
        return Is(EndBlock::kLyrics3v1, start, end - start);
      }
    }
    return Unclear("a Lyrics3 v1 end without its LYRICSBEGIN in the 5,100 bytes before it");
  }

  // A footer whose header is not where its size says is no tag.
  io::Result<Found> AppendedId3v2(std::uint64_t end) {
    constexpr std::size_t kFooter = id3v2footer::kSize;
    if (end - floor_ < 2 * kFooter) return Found{};
    const auto got = bytes_.At(end - kFooter, kFooter);
    if (!got) return std::unexpected(got.error());
    std::array<std::uint8_t, kFooter> footer{};
    std::ranges::copy(*got, footer.begin());
    if (!Spells(footer, id3v2footer::kMarker) ||
        footer[id3v2footer::kMarkerWidth] == id3v2footer::kUnknownVersion)
      return Found{};
    std::uint64_t body = 0;
    for (const std::uint8_t b : std::span(footer).subspan(id3v2footer::kSizeOffset)) {
      if (b & id3v2footer::kNotSynchsafe) return Found{};
      body = body << id3v2footer::kSynchsafeBits | b;
    }
    const std::uint64_t whole = body + 2 * kFooter;
    if (whole > end - floor_) return Found{};
    const auto header = bytes_.At(end - whole, kFooter);
    if (!header) return std::unexpected(header.error());
    if (!Spells(*header, id3v2footer::kHeaderMarker) ||
        !std::ranges::equal(header->subspan(id3v2footer::kMarkerWidth),
                            std::span(footer).subspan(id3v2footer::kMarkerWidth)))
      return Found{};
    return Is(EndBlock::kId3v2, end - whole, whole);
  }

  EndBytes& bytes_;
  std::uint64_t floor_;
};

} // namespace

std::string_view EndBlockName(EndBlock kind) {
  switch (kind) {
  case EndBlock::kApe: return "APEv2";
  case EndBlock::kLyrics3v2: return "Lyrics3v2";
  case EndBlock::kLyrics3v1: return "Lyrics3v1";
  case EndBlock::kId3v2: return "ID3v2";
  case EndBlock::kTagPlus: return "TAG+";
  case EndBlock::kId3v1: return "ID3v1";
  }
  return {};
}

std::optional<std::uint64_t> FileEnd::RecordOffset() const {
  if (!record) return std::nullopt;
  return file_size - record::kSize;
}

io::Result<FileEnd> ReadFileEnd(const io::ByteSource& src, std::uint64_t floor) {
  FileEnd result;
  result.file_size = src.Size();
  floor = std::min(floor, result.file_size);
  EndBytes bytes(src);
  if (auto read = bytes.ReadWindow(); !read) return std::unexpected(read.error());
  EndReader reader(bytes, floor);
  std::vector<Block> backwards;
  std::uint64_t end = result.file_size;

  // A block that ends the file accounts for its last bytes, a "TAG" among them
  // included; only where none does can they be an ID3v1 record.
  auto last = reader.EndingAt(end);
  if (!last) return std::unexpected(last.error());
  if (last->Nothing() && end >= record::kSize) {
    const auto rec = bytes.At(end - record::kSize, record::kSize);
    if (!rec) return std::unexpected(rec.error());
    if (HasTagMarker(*rec)) {
      result.record.emplace();
      std::ranges::copy(*rec, result.record->begin());
      end -= record::kSize;
      backwards.push_back({EndBlock::kId3v1, end, record::kSize});
      last = reader.EndingAt(end);
      if (!last) return std::unexpected(last.error());
      auto plus = io::Result<std::span<const std::uint8_t>>{};
      if (end >= tagplus::kSize) plus = bytes.At(end - tagplus::kSize, tagplus::kSize);
      if (!plus) return std::unexpected(plus.error());
      if (Spells(*plus, tagplus::kMarker)) {
        if (!last->Nothing()) {
          result.unclear = "a TAG+ block and another block both end where the ID3v1 tag begins";
          last->block.reset();
        } else {
          result.tag_plus.emplace();
          std::ranges::copy(*plus, result.tag_plus->begin());
          end -= tagplus::kSize;
          backwards.push_back({EndBlock::kTagPlus, end, tagplus::kSize});
          last = reader.EndingAt(end);
          if (!last) return std::unexpected(last.error());
        }
      }
    }
  }
  while (!result.unclear && last->block && backwards.size() < kMaxBlocks) {
    backwards.push_back(*last->block);
    end = last->block->offset;
    last = reader.EndingAt(end);
    if (!last) return std::unexpected(last.error());
  }
  if (!result.unclear && !last->unclear.empty()) result.unclear = std::move(last->unclear);
  result.audio_end = end;
  result.blocks.assign(backwards.rbegin(), backwards.rend());
  return result;
}

std::expected<SetPlan, std::string> PlanSet(const FileEnd& end, const TagEdit& edit) {
  if (end.unclear) return std::unexpected(*end.unclear);
  SetPlan plan{.record_offset = end.RecordOffset().value_or(end.file_size),
               .append = !end.record,
               .tag_plus = std::nullopt};
  if (!end.tag_plus) return plan;
  TagPlusBlock plus = *end.tag_plus;
  bool changed = false;
  for (const auto& [field, offset] : {std::pair(&edit.title, tagplus::kTitleOffset),
                                      std::pair(&edit.artist, tagplus::kArtistOffset),
                                      std::pair(&edit.album, tagplus::kAlbumOffset)}) {
    if (!*field) continue;
    const auto part = std::span(plus).subspan(offset, tagplus::kTextWidth);
    if (std::ranges::all_of(part, [](std::uint8_t b) { return b == 0; })) continue;
    std::ranges::fill(part, std::uint8_t{0});
    changed = true;
  }
  if (changed) plan.tag_plus.emplace(plan.record_offset - tagplus::kSize, plus);
  return plan;
}

std::expected<RemovePlan, std::string> PlanRemove(const FileEnd& end) {
  if (end.unclear) return std::unexpected(*end.unclear);
  RemovePlan plan;
  if (const auto record = end.RecordOffset())
    plan.cut_to = end.tag_plus ? *record - tagplus::kSize : *record;
  return plan;
}

LongTexts JoinTagPlus(const TagRecord& rec, const TagPlusBlock& plus, const CodePage& cp) {
  const auto join = [&](std::size_t rec_offset, std::size_t rec_width, std::size_t plus_offset) {
    std::string bytes(reinterpret_cast<const char*>(rec.data()) + rec_offset, rec_width);
    bytes.append(reinterpret_cast<const char*>(plus.data()) + plus_offset, tagplus::kTextWidth);
    return cp.Decode(CleanTagText(bytes));
  };
  return {.title = join(record::kTitleOffset, record::kTitleWidth, tagplus::kTitleOffset),
          .artist = join(record::kArtistOffset, record::kArtistWidth, tagplus::kArtistOffset),
          .album = join(record::kAlbumOffset, record::kAlbumWidth, tagplus::kAlbumOffset)};
}

} // namespace id3
