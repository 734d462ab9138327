#include "id3v2/reader.h"

#include "tagstore/trailing.h"

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

// Reads of the frame headers behind the source's own windows go through this
// many bytes read ahead, so a tag of many small frames costs a read per
// kReadAhead bytes rather than one per frame.
constexpr std::size_t kReadAhead = 16 * 1024;

class ReadAheadSource final : public io::ByteSource {
public:
  ReadAheadSource(const io::ByteSource& inner, std::uint64_t end) : inner_(inner), end_(end) {}
  std::uint64_t Size() const override { return inner_.Size(); }
  io::Result<std::size_t> ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) const override {
    const auto view = View(offset, out.size());
    if (!view && (out.size() >= kReadAhead || offset >= end_)) return inner_.ReadAt(offset, out);
    if (!view) {
      buffer_.resize(static_cast<std::size_t>(std::min<std::uint64_t>(kReadAhead, end_ - offset)));
      const auto got = io::ReadUpTo(inner_, offset, buffer_);
      if (!got) return std::unexpected(got.error());
      buffer_.resize(*got);
      at_ = offset;
      return ReadAt(offset, out.first(std::min(out.size(), buffer_.size())));
    }
    std::ranges::copy(*view, out.begin());
    return view->size();
  }
  // The inner source's windows, else what was read ahead where it holds all.
  std::optional<std::span<const std::uint8_t>> View(std::uint64_t offset,
                                                    std::size_t size) const override {
    if (auto view = inner_.View(offset, size)) return view;
    if (offset < at_ || offset + size > at_ + buffer_.size()) return std::nullopt;
    return std::span<const std::uint8_t>(buffer_).subspan(static_cast<std::size_t>(offset - at_),
                                                          size);
  }

private:
  const io::ByteSource& inner_;
  std::uint64_t end_; // nothing is read ahead past the tag
  mutable std::vector<std::uint8_t> buffer_;
  mutable std::uint64_t at_ = 0;
};

// A 2.2 or 2.3 tag unsynchronised as a whole, resynchronised as the walk reads
// it, a chunk at a time: the walk goes forward only, so each byte of the tag
// is read once and no more than a chunk of it is held. Its size is that of
// the raw bytes; the resynchronised ones end a little earlier, where a read
// comes back short.
class ResynchronisingSource final : public io::ByteSource {
public:
  static constexpr std::size_t kChunk = 64 * 1024;
  ResynchronisingSource(const io::ByteSource& raw, std::uint64_t begin, std::uint64_t end)
      : raw_(raw), begin_(begin), end_(end), raw_next_(begin), chunk_at_(begin) {}
  std::uint64_t Size() const override { return end_ - begin_; }
  io::Result<std::size_t> ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) const override {
    if (offset < pos_) {
      raw_next_ = chunk_at_ = begin_;
      chunk_size_ = 0;
      pos_ = 0;
      after_sync_ = false;
    }
    if (auto skipped = Advance(offset - pos_, nullptr); !skipped)
      return std::unexpected(skipped.error());
    if (pos_ < offset) return 0;
    return Advance(out.size(), out.data());
  }

private:
  static constexpr std::uint8_t kSync = 0xFF;

  // Produces up to want resynchronised bytes into out (or passes over them).
  io::Result<std::size_t> Advance(std::uint64_t want, std::uint8_t* out) const {
    std::size_t done = 0;
    while (done < want) {
      if (raw_next_ == chunk_at_ + chunk_size_) {
        if (raw_next_ >= end_) break;
        chunk_.resize(static_cast<std::size_t>(std::min<std::uint64_t>(kChunk, end_ - raw_next_)));
        const auto got = io::ReadUpTo(raw_, raw_next_, chunk_);
        if (!got) return std::unexpected(got.error());
        chunk_at_ = raw_next_;
        chunk_size_ = *got;
        if (*got == 0) {
          end_ = raw_next_;
          break;
        }
      }
      const std::uint8_t b = chunk_[static_cast<std::size_t>(raw_next_++ - chunk_at_)];
      // The zero that unsynchronisation put behind a 0xFF goes again.
      if (after_sync_ && b == 0) {
        after_sync_ = false;
        continue;
      }
      after_sync_ = b == kSync;
      if (out) out[done] = b;
      ++done;
    }
    pos_ += done;
    return done;
  }

  const io::ByteSource& raw_;
  std::uint64_t begin_;
  mutable std::uint64_t end_;
  mutable std::uint64_t raw_next_;
  mutable std::uint64_t chunk_at_;
  mutable std::size_t chunk_size_ = 0;
  mutable std::vector<std::uint8_t> chunk_;
  mutable std::uint64_t pos_ = 0;
  mutable bool after_sync_ = false;
};

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
      auto values = TextValues(*data, cp_, ValuesOf(h_.major));
      if (!values) {
        ++tag_.skipped_frames;
      } else if (!values->empty()) {
        tag_.texts[static_cast<std::size_t>(*wanted.text)] = std::move(*values);
      }
      return {};
    }
    if (auto comment = CommentOf(*data, cp_, ValuesOf(h_.major)))
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

// A version this reader knows, and no 2.2 compression, which was never defined.
bool Readable(const Header& h) {
  return h.major >= 2 && h.major <= 4 && !(h.major == 2 && h.Has(header::kCompressed22));
}

io::Result<Tag> ReadOneTag(const io::ByteSource& src, const PlacedTag& place, const CodePage& cp) {
  Tag tag;
  tag.place = place;
  const Header& h = place.header;
  const std::uint64_t body = place.offset + header::kSize;
  const std::uint64_t claimed_end = body + h.size;
  tag.cut_short = claimed_end > src.Size();
  const std::uint64_t end = std::min(claimed_end, src.Size());

  if (h.major < 4 && h.Has(header::kUnsynchronisation)) {
    const ResynchronisingSource resynchronised(src, body, end);
    const auto start = SkipExtendedHeader(resynchronised, h, 0);
    if (!start) return std::unexpected(start.error());
    FrameWalk walk(resynchronised, resynchronised.Size(), h, cp, tag);
    if (auto done = walk.From(*start); !done) return std::unexpected(done.error());
    return tag;
  }
  const ReadAheadSource ahead(src, end);
  const auto start = SkipExtendedHeader(ahead, h, body);
  if (!start) return std::unexpected(start.error());
  FrameWalk walk(ahead, end, h, cp, tag);
  if (auto done = walk.From(*start); !done) return std::unexpected(done.error());
  return tag;
}

// A 2.4 tag appended behind the audio is one of the blocks at the file's end,
// found by its footer wherever the other blocks leave it.
io::Result<std::optional<PlacedTag>> FindAppendedTag(const io::ByteSource& src,
                                                     const FileEnd& end) {
  const auto block = std::ranges::find(end.blocks, EndBlock::kId3v2, &Block::kind);
  if (block == end.blocks.end()) return std::nullopt;
  std::array<std::uint8_t, header::kSize> bytes{};
  const auto got = io::ReadUpTo(src, block->offset, bytes);
  if (!got) return std::unexpected(got.error());
  const auto h = ParseHeader(std::span(bytes).first(*got));
  if (!h) return std::nullopt;
  return PlacedTag{.offset = block->offset, .header = *h};
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

io::Result<Found> Read(const io::ByteSource& src, const CodePage& cp, const FileEnd* file_end) {
  Found found;
  std::vector<PlacedTag> leading;
  const auto end = LeadingTagsEnd(src, &leading);
  if (!end) return std::unexpected(end.error());
  if (!leading.empty() && Readable(leading.front().header)) {
    auto tag = ReadOneTag(src, leading.front(), cp);
    if (!tag) return std::unexpected(tag.error());
    found.tag = std::move(*tag);
    found.others.assign(leading.begin() + 1, leading.end());
  } else {
    found.others = std::move(leading);
  }
  std::optional<FileEnd> read_end;
  if (!file_end) {
    auto got = ReadFileEnd(src, *end);
    if (!got) return std::unexpected(got.error());
    read_end = std::move(*got);
    file_end = &*read_end;
  }
  const auto appended = FindAppendedTag(src, *file_end);
  if (!appended) return std::unexpected(appended.error());
  if (*appended) found.others.push_back(**appended);
  return found;
}

} // namespace id3::id3v2
