#include "id3v2/reader.h"

#include "tagstore/tag.h"

#include <algorithm>
#include <string_view>

namespace id3::id3v2 {
namespace {

// The frames read, by identifier.
constexpr std::optional<TextFrame> kComment = std::nullopt;
constexpr struct {
  std::string_view id;
  std::optional<TextFrame> text; // nothing for a comment
} kWanted[] = {
    {"TIT2", TextFrame::kTitle},
    {"TT2", TextFrame::kTitle},
    {"TPE1", TextFrame::kArtist},
    {"TP1", TextFrame::kArtist},
    {"TPE2", TextFrame::kBand},
    {"TP2", TextFrame::kBand},
    {"TALB", TextFrame::kAlbum},
    {"TAL", TextFrame::kAlbum},
    {"TDRC", TextFrame::kRecorded},
    {"TYER", TextFrame::kYear},
    {"TYE", TextFrame::kYear},
    {"TDRL", TextFrame::kReleased},
    {"TDOR", TextFrame::kOriginalYear},
    {"TORY", TextFrame::kOriginalYear},
    {"TOR", TextFrame::kOriginalYear},
    {"TRCK", TextFrame::kTrack},
    {"TRK", TextFrame::kTrack},
    {"TCON", TextFrame::kGenre},
    {"TCO", TextFrame::kGenre},
    {"COMM", kComment},
    {"COM", kComment},
};

struct Wanted {
  std::optional<TextFrame> text;
};

std::optional<Wanted> WantedFrame(std::uint8_t major, const FrameHeader& h) {
  const std::string_view id(h.id.data(), major == 2 ? frame::kIdWidth22 : frame::kIdWidth);
  for (const auto& w : kWanted)
    if (w.id == id) return Wanted{w.text};
  return std::nullopt;
}

// The frames of one tag, read from src between pos and end.
class FrameWalk {
public:
  FrameWalk(const io::ByteSource& src, std::uint64_t end, const Header& h, const CodePage& cp,
            Tag& tag)
      : src_(src), end_(end), h_(h), cp_(cp), tag_(tag) {}

  io::Result<void> From(std::uint64_t pos) {
    const std::size_t header_size = FrameHeaderSize(h_.major);
    std::array<std::uint8_t, frame::kHeaderSize> bytes{};
    const auto header_bytes = std::span(bytes).first(header_size);
    while (pos + header_size <= end_) {
      if (const auto got = io::ReadUpTo(src_, pos, header_bytes); !got)
        return std::unexpected(got.error());
      if (bytes[0] == 0) break; // padding
      const FrameHeader fh = ParseFrameHeader(h_.major, header_bytes);
      const std::uint64_t body = pos + header_size;
      auto size = Size(fh, body);
      if (!size) return std::unexpected(size.error());
      if (body + *size > end_) {
        ++tag_.skipped_frames; // nothing behind it can be found
        break;
      }
      pos = body + *size;
      if (*size == 0 || !IsFrameId(h_.major, header_bytes)) {
        ++tag_.skipped_frames;
        continue;
      }
      if (const auto wanted = WantedFrame(h_.major, fh)) {
        if (auto read = ReadFrame(fh, body, *size, *wanted); !read)
          return std::unexpected(read.error());
      }
    }
    return {};
  }

private:
  // The frame's size; for 2.4 the reading that leads to the next frame.
  io::Result<std::uint32_t> Size(const FrameHeader& fh, std::uint64_t body) {
    if (h_.major != 4 || !fh.size || *fh.size == fh.plain_size) return fh.plain_size;
    const auto synchsafe = LandingAt(body + *fh.size);
    const auto plain = LandingAt(body + fh.plain_size);
    if (!synchsafe) return std::unexpected(synchsafe.error());
    if (!plain) return std::unexpected(plain.error());
    return ChooseFrameSize(fh, *synchsafe, *plain);
  }

  io::Result<Landing> LandingAt(std::uint64_t at) {
    if (at > end_) return Landing::kNowhere;
    std::array<std::uint8_t, frame::kHeaderSize> bytes{};
    const auto want = std::min<std::uint64_t>(FrameHeaderSize(h_.major), end_ - at);
    const auto got = io::ReadUpTo(src_, at, std::span(bytes).first(static_cast<std::size_t>(want)));
    if (!got) return std::unexpected(got.error());
    return LandingOf(h_.major, std::span(bytes).first(*got));
  }

  io::Result<void> ReadFrame(const FrameHeader& fh, std::uint64_t body, std::uint32_t size,
                             const Wanted& wanted) {
    if (wanted.text && tag_.texts[static_cast<std::size_t>(*wanted.text)]) return {};
    // The most a frame's prefix and its compressed text can take.
    if (size > kMaxTextData + frame::kGroupWidth + frame::kMethodWidth + frame::kDataLengthWidth) {
      ++tag_.skipped_frames;
      return {};
    }
    const auto bytes = io::ViewOrRead(src_, body, size, storage_);
    if (!bytes) return std::unexpected(bytes.error());
    const auto prefix = ParseFramePrefix(h_.major, fh, h_.Has(header::kUnsynchronisation), *bytes);
    const auto data = prefix ? DecodeFrameData(*prefix, *bytes, scratch_) : std::nullopt;
    if (!data) {
      ++tag_.skipped_frames;
      return {};
    }
    if (wanted.text) {
      auto values = TextValues(*data, cp_);
      if (!values) {
        ++tag_.skipped_frames;
      } else if (!values->empty()) {
        tag_.texts[static_cast<std::size_t>(*wanted.text)] = std::move(*values);
      }
      return {};
    }
    if (auto comment = CommentOf(*data, cp_))
      tag_.comments.push_back(std::move(*comment));
    else
      ++tag_.skipped_frames;
    return {};
  }

  const io::ByteSource& src_;
  std::uint64_t end_;
  const Header& h_;
  const CodePage& cp_;
  Tag& tag_;
  std::vector<std::uint8_t> storage_;
  std::vector<std::uint8_t> scratch_;
};

// The extended header's length at pos, where the tag has one.
io::Result<std::uint64_t> SkipExtendedHeader(const io::ByteSource& src, const Header& h,
                                             std::uint64_t pos) {
  if (h.major == 2 || !h.Has(header::kExtendedHeader)) return pos;
  std::array<std::uint8_t, extended::kSizeWidth> size{};
  const auto got = io::ReadUpTo(src, pos, size);
  if (!got) return std::unexpected(got.error());
  return pos + ExtendedHeaderLength(h.major, std::span(size).first(*got));
}

io::Result<Tag> ReadOneTag(const io::ByteSource& src, const PlacedTag& place, const CodePage& cp) {
  Tag tag;
  tag.place = place;
  const Header& h = place.header;
  const std::uint64_t body = place.offset + header::kSize;
  const std::uint64_t claimed_end = body + h.size;
  tag.cut_short = claimed_end > src.Size();
  const std::uint64_t end = std::min(claimed_end, src.Size());
  if (h.major < 2 || h.major > 4 || (h.major == 2 && h.Has(header::kCompressed22))) return tag;

  if (h.major < 4 && h.Has(header::kUnsynchronisation)) {
    std::vector<std::uint8_t> storage;
    const auto raw = io::ViewOrRead(src, body, static_cast<std::size_t>(end - body), storage);
    if (!raw) return std::unexpected(raw.error());
    const std::vector<std::uint8_t> plain = Resynchronise(*raw);
    const io::MemorySource resynchronised(plain);
    const auto start = SkipExtendedHeader(resynchronised, h, 0);
    if (!start) return std::unexpected(start.error());
    FrameWalk walk(resynchronised, plain.size(), h, cp, tag);
    if (auto done = walk.From(*start); !done) return std::unexpected(done.error());
    return tag;
  }
  const auto start = SkipExtendedHeader(src, h, body);
  if (!start) return std::unexpected(start.error());
  FrameWalk walk(src, end, h, cp, tag);
  if (auto done = walk.From(*start); !done) return std::unexpected(done.error());
  return tag;
}

// A 2.4 tag appended behind the audio ends in a footer, which stands either at
// the file's end or in front of an ID3v1 tag there.
io::Result<std::optional<PlacedTag>> FindAppendedTag(const io::ByteSource& src,
                                                     std::uint64_t leading_end) {
  const std::uint64_t size = src.Size();
  std::array<std::uint8_t, record::kSize> last{};
  std::uint64_t footer_end = size;
  if (size >= record::kSize) {
    const auto got = io::ReadUpTo(src, size - record::kSize, last);
    if (!got) return std::unexpected(got.error());
    if (HasTagMarker(last)) footer_end = size - record::kSize;
  }
  if (footer_end < leading_end + header::kSize + header::kFooterSize) return std::nullopt;
  std::array<std::uint8_t, header::kSize> bytes{};
  const std::uint64_t footer = footer_end - header::kFooterSize;
  if (const auto got = io::ReadUpTo(src, footer, bytes); !got) return std::unexpected(got.error());
  const auto h = ParseFooter(bytes);
  if (!h || footer - leading_end < header::kSize + std::uint64_t{h->size}) return std::nullopt;
  const std::uint64_t offset = footer - h->size - header::kSize;
  if (const auto got = io::ReadUpTo(src, offset, bytes); !got) return std::unexpected(got.error());
  if (ParseHeader(bytes) != h) return std::nullopt;
  return PlacedTag{.offset = offset, .header = *h};
}

} // namespace

io::Result<std::uint64_t> LeadingTagsEnd(const io::ByteSource& src,
                                         std::vector<PlacedTag>* listed) {
  std::uint64_t end = 0;
  std::array<std::uint8_t, header::kSize> bytes{};
  // Past the end of the source nothing is read, and the chain ends.
  for (std::size_t count = 0;; ++count) {
    const auto got = io::ReadUpTo(src, end, bytes);
    if (!got) return std::unexpected(got.error());
    const auto h = ParseHeader(std::span(bytes).first(*got));
    if (!h) break;
    if (listed && count < kMaxListed) listed->push_back({end, *h});
    end += h->Length();
  }
  return end;
}

io::Result<Found> Read(const io::ByteSource& src, const CodePage& cp) {
  Found found;
  std::vector<PlacedTag> leading;
  const auto end = LeadingTagsEnd(src, &leading);
  if (!end) return std::unexpected(end.error());
  if (!leading.empty()) {
    auto tag = ReadOneTag(src, leading.front(), cp);
    if (!tag) return std::unexpected(tag.error());
    found.tag = std::move(*tag);
    found.others.assign(leading.begin() + 1, leading.end());
  }
  const auto appended = FindAppendedTag(src, *end);
  if (!appended) return std::unexpected(appended.error());
  if (*appended) found.others.push_back(**appended);
  return found;
}

} // namespace id3::id3v2
