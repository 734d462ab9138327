#include "tagstore/tag.h"

#include "tagstore/genres.h"
#include "tagstore/trailing.h"
#include "tools/fileio.h"
#include "tools/text.h"

#include <algorithm>

namespace id3 {
namespace {

using io::File;
using io::IoError;

TagError FromIo(IoError e) {
  switch (e) {
  case IoError::NotFound: return TagError::NotFound;
  case IoError::IsDirectory: return TagError::IsDirectory;
  case IoError::AccessDenied: return TagError::AccessDenied;
  case IoError::SharingViolation: return TagError::InUse;
  case IoError::NoSpace: return TagError::NoSpace;
  case IoError::ShortRead: return TagError::TooShort;
  case IoError::Other: break;
  }
  return TagError::IoError;
}

std::string_view Field(const TagRecord& rec, std::size_t offset, std::size_t width) {
  return {reinterpret_cast<const char*>(rec.data()) + offset, width};
}

std::string ReadText(const TagRecord& rec, std::size_t offset, std::size_t width,
                     const CodePage& cp) {
  // Cleaned as bytes: zero and space are single bytes in every ANSI code page.
  return cp.Decode(CleanTagText(Field(rec, offset, width)));
}

void PutText(TagRecord& rec, std::size_t offset, std::size_t width, std::string_view bytes) {
  std::fill_n(rec.begin() + static_cast<std::ptrdiff_t>(offset), width, std::uint8_t{' '});
  std::copy_n(bytes.begin(), std::min(bytes.size(), width),
              rec.begin() + static_cast<std::ptrdiff_t>(offset));
}

bool IsTagMarker(std::string_view marker) { return text::EqualIgnoringCase(marker, "tag"); }

bool HasTrack(const TagRecord& rec) {
  return rec[record::kV11ZeroOffset] == 0 && rec[record::kTrackOffset] != 0;
}

// A tag with blank fields, no track and no genre.
TagRecord BlankRecord() {
  TagRecord rec;
  rec.fill(' ');
  PutText(rec, record::kMarkerOffset, record::kMarkerWidth, "TAG");
  rec[record::kGenreOffset] = 255;
  return rec;
}

// The blocks at the file's end; TooShort below 128 bytes, Changed when the
// length is not the expected one.
std::expected<FileEnd, TagError> ReadEnd(const File& file,
                                         std::optional<std::uint64_t> expected_size = {}) {
  const auto size = file.Size();
  if (!size) return std::unexpected(FromIo(size.error()));
  if (expected_size && *size != *expected_size) return std::unexpected(TagError::Changed);
  if (*size < record::kSize) return std::unexpected(TagError::TooShort);
  auto end = ReadFileEnd(io::FileSource(file, *size));
  if (!end) return std::unexpected(FromIo(end.error()));
  return std::move(*end);
}

std::expected<void, TagError> CheckIsFile(const std::string& path) {
  switch (io::KindOf(path)) {
  case io::PathKind::Missing: return std::unexpected(TagError::NotFound);
  case io::PathKind::Directory: return std::unexpected(TagError::IsDirectory);
  default: return {};
  }
}

} // namespace

std::string CleanTagText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  // The runs between the NULs, each appended whole.
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t nul = std::min(text.find('\0', i), text.size());
    out.append(text, i, nul - i);
    i = nul + 1;
  }
  out.erase(out.find_last_not_of(' ') + 1);
  return out;
}

bool HasTagMarker(std::span<const std::uint8_t> rec) {
  return rec.size() >= record::kMarkerWidth &&
         IsTagMarker({reinterpret_cast<const char*>(rec.data()), record::kMarkerWidth});
}

TagFields ParseTagRecord(const TagRecord& rec, const CodePage& cp) {
  using namespace record;
  TagFields tag;
  if (!HasTagMarker(rec)) return tag;
  tag.marker = ReadText(rec, kMarkerOffset, kMarkerWidth, cp);
  tag.title = ReadText(rec, kTitleOffset, kTitleWidth, cp);
  tag.artist = ReadText(rec, kArtistOffset, kArtistWidth, cp);
  tag.album = ReadText(rec, kAlbumOffset, kAlbumWidth, cp);
  tag.year = ReadText(rec, kYearOffset, kYearWidth, cp);
  if (HasTrack(rec)) {
    tag.comment = ReadText(rec, kCommentOffset, kV11CommentWidth, cp);
    tag.track = rec[kTrackOffset];
  } else {
    tag.comment = ReadText(rec, kCommentOffset, kCommentWidth, cp);
  }
  tag.genre_byte = rec[kGenreOffset];
  tag.genre = GenreName(static_cast<std::int16_t>(tag.genre_byte));
  return tag;
}

std::string_view FieldName(TextField field) {
  switch (field) {
  case TextField::kTitle: return "title";
  case TextField::kArtist: return "artist";
  case TextField::kAlbum: return "album";
  case TextField::kYear: return "year";
  case TextField::kComment: break;
  }
  return "comment";
}

EditedRecord ApplyEdit(const std::optional<TagRecord>& read, const TagEdit& edit,
                       const CodePage& cp) {
  using namespace record;
  EditedRecord out{BlankRecord(), {}};
  if (read && HasTagMarker(*read)) out.record = *read;
  TagRecord& rec = out.record;
  if (edit.marker) {
    const std::string marker = cp.EncodeFit(*edit.marker, kMarkerWidth);
    PutText(rec, kMarkerOffset, kMarkerWidth, IsTagMarker(marker) ? marker : "TAG");
  }
  const bool had_track = HasTrack(rec);
  const bool has_track = edit.track ? *edit.track != 0 : had_track;
  const std::size_t comment_width = has_track ? kV11CommentWidth : kCommentWidth;
  const struct {
    TextField field;
    const std::optional<std::string>& text;
    std::size_t offset, width;
  } slots[] = {{TextField::kTitle, edit.title, kTitleOffset, kTitleWidth},
               {TextField::kArtist, edit.artist, kArtistOffset, kArtistWidth},
               {TextField::kAlbum, edit.album, kAlbumOffset, kAlbumWidth},
               {TextField::kYear, edit.year, kYearOffset, kYearWidth},
               {TextField::kComment, edit.comment, kCommentOffset, comment_width}};
  for (const auto& slot : slots) {
    if (!slot.text) continue;
    const std::string bytes = cp.Encode(*slot.text);
    const bool cut = bytes.size() > slot.width;
    PutText(rec, slot.offset, slot.width, cut ? cp.EncodeFit(*slot.text, slot.width) : bytes);
    out.fields.push_back({slot.field, slot.width, cut, cp.Decode(bytes) != *slot.text,
                          ReadText(rec, slot.offset, slot.width, cp)});
  }
  if (has_track && !had_track && !edit.comment) {
    // The track number takes the comment's last two bytes: a comment that
    // holds text there loses it, between two characters, and says so.
    const std::string_view old = Field(rec, kCommentOffset, kCommentWidth);
    // Padding is zeros and spaces; npos + 1 is 0, all padding.
    const std::size_t used = old.find_last_not_of(std::string_view("\0 ", 2)) + 1;
    if (used > kV11CommentWidth) {
      const std::string kept(cp.FitBytes(old.substr(0, used), kV11CommentWidth));
      PutText(rec, kCommentOffset, kV11CommentWidth, kept);
      out.fields.push_back({TextField::kComment, kV11CommentWidth, true, false,
                            ReadText(rec, kCommentOffset, kV11CommentWidth, cp)});
    }
  }
  if (has_track) {
    rec[kV11ZeroOffset] = 0;
    if (edit.track) rec[kTrackOffset] = *edit.track;
  } else if (had_track && !edit.comment) {
    // The comment's 28 bytes stay; padding follows them.
    rec[kV11ZeroOffset] = rec[kTrackOffset] = ' ';
  }
  if (edit.genre) rec[kGenreOffset] = *edit.genre;
  return out;
}

TagRecord RenderTagRecord(const TagFields& tag, const CodePage& cp) {
  const TagEdit edit{
      .title = tag.title,
      .artist = tag.artist,
      .album = tag.album,
      .year = tag.year,
      .comment = tag.comment,
      .track = tag.track.value_or(0),
      .genre =
          tag.genre.empty() ? tag.genre_byte : static_cast<std::uint8_t>(GenreIndex(tag.genre)),
      .marker = tag.marker,
  };
  return ApplyEdit(std::nullopt, edit, cp).record;
}

std::string_view Describe(TagError error) {
  switch (error) {
  case TagError::NotFound: return io::Describe(io::IoError::NotFound);
  case TagError::IsDirectory: return io::Describe(io::IoError::IsDirectory);
  case TagError::TooShort: return "shorter than 128 bytes";
  case TagError::OnlyTag: return "the file holds nothing but the tag";
  case TagError::AccessDenied: return io::Describe(io::IoError::AccessDenied);
  case TagError::InUse: return io::Describe(io::IoError::SharingViolation);
  case TagError::NoSpace: return io::Describe(io::IoError::NoSpace);
  case TagError::Changed: return "changed since it was read";
  case TagError::UnclearEnd: return "the blocks at its end cannot be told apart; left as it is";
  case TagError::IoError: break;
  }
  return io::Describe(io::IoError::Other);
}

std::expected<StoredRecord, TagError> TryReadRecord(const std::string& path) {
  if (auto ok = CheckIsFile(path); !ok) return std::unexpected(ok.error());
  auto file = File::Open(path, File::Access::Read);
  if (!file) return std::unexpected(FromIo(file.error()));
  const auto end = ReadEnd(*file);
  if (!end) return std::unexpected(end.error());
  return StoredRecord{end->record, end->file_size};
}

std::expected<void, TagError> TryWriteRecord(const std::string& path, const TagRecord& fresh,
                                             const TagEdit& edit,
                                             std::optional<std::uint64_t> expected_size) {
  if (auto ok = CheckIsFile(path); !ok) return ok;
  auto file = File::Open(path, File::Access::ReadWrite);
  if (!file) return std::unexpected(FromIo(file.error()));
  const auto end = ReadEnd(*file, expected_size);
  if (!end) return std::unexpected(end.error());
  const auto plan = PlanSet(*end, edit);
  if (!plan) return std::unexpected(TagError::UnclearEnd);
  // Whatever fails puts back what was there, so the file is left as it was.
  const auto undo = [&] {
    if (plan->append) {
      (void)file->Truncate(end->file_size);
    } else {
      (void)file->WriteAt(plan->record_offset, *end->record);
      if (end->tag_plus && plan->tag_plus)
        (void)file->WriteAt(plan->tag_plus->first, *end->tag_plus);
    }
  };
  if (auto w = file->WriteAt(plan->record_offset, fresh); !w) {
    undo();
    return std::unexpected(FromIo(w.error()));
  }
  if (plan->tag_plus) {
    if (auto w = file->WriteAt(plan->tag_plus->first, plan->tag_plus->second); !w) {
      undo();
      return std::unexpected(FromIo(w.error()));
    }
  }
  if (auto c = file->Close(); !c) return std::unexpected(FromIo(c.error()));
  return {};
}

std::expected<void, TagError> TryRemoveTag(const std::string& path,
                                           std::optional<std::uint64_t> expected_size) {
  if (auto ok = CheckIsFile(path); !ok) return ok;
  {
    // A file without a tag is only read, so it may be read-only.
    auto reader = File::Open(path, File::Access::Read);
    if (!reader) return std::unexpected(FromIo(reader.error()));
    const auto end = ReadEnd(*reader, expected_size);
    if (!end) return std::unexpected(end.error());
    if (end->unclear) return std::unexpected(TagError::UnclearEnd);
    if (!end->record) return {};
  }
  auto file = File::Open(path, File::Access::ReadWrite);
  if (!file) return std::unexpected(FromIo(file.error()));
  // Look again through the handle that cuts, in case the file changed between.
  const auto end = ReadEnd(*file, expected_size);
  if (!end) return std::unexpected(end.error());
  const auto plan = PlanRemove(*end);
  if (!plan) return std::unexpected(TagError::UnclearEnd);
  if (!plan->cut_to) return {};
  if (*plan->cut_to == 0) return std::unexpected(TagError::OnlyTag);
  // Cut in place: the audio is never copied, deleted or held in memory.
  if (auto t = file->Truncate(*plan->cut_to); !t) return std::unexpected(FromIo(t.error()));
  if (auto c = file->Close(); !c) return std::unexpected(FromIo(c.error()));
  return {};
}

bool FileExists(const std::string& path) {
  if (path.empty()) return false;
  const io::PathKind kind = io::KindOf(path);
  return kind != io::PathKind::Missing && kind != io::PathKind::Directory;
}

} // namespace id3
