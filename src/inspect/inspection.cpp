#include "inspect/inspection.h"

#include <utility>

namespace id3 {
namespace {

CodePageChoice Unread(const InspectRequest& request) {
  const CodePage& cp = request.option ? *request.option : request.fallback;
  return {cp, request.option ? CodePageFrom::kOption : CodePageFrom::kDefault, cp.Name()};
}

} // namespace

io::Result<Inspection> Inspect(const io::ByteSource& raw, const std::string& path,
                               const InspectRequest& request, std::vector<std::uint8_t>& windows) {
  const auto src = io::WindowedSource::Read(raw, windows);
  if (!src) return std::unexpected(src.error());
  Inspection in{.file_size = src->Size(), .code_page = Unread(request)};
  const auto leading_end = id3v2::LeadingTagsEnd(*src);
  if (!leading_end) return std::unexpected(leading_end.error());
  auto end = ReadFileEnd(*src, *leading_end);
  if (!end) return std::unexpected(end.error());
  in.end = std::move(*end);
  auto found = id3v2::Read(*src, in.code_page.code_page, &in.end);
  if (!found) return std::unexpected(found.error());
  in.id3v2 = std::move(*found);
  if (in.id3v2.tag) in.proposal = id3v2::ProposeId3v1(*in.id3v2.tag);
  if (const auto& rec = in.end.record) {
    Id3v2Texts texts;
    if (in.proposal)
      texts = {in.proposal->title, in.proposal->artist, in.proposal->album, in.proposal->comment};
    in.code_page = ChooseCodePage(*rec, texts, request.option, request.fallback);
    in.tag = ParseTagRecord(*rec, in.code_page.code_page);
    if (in.end.tag_plus)
      in.long_texts = JoinTagPlus(*rec, *in.end.tag_plus, in.code_page.code_page);
  }
  if (request.audio) in.audio.Load(*src, path, in.end.audio_end);
  return in;
}

io::Result<Inspection> InspectFile(const std::string& path, const InspectRequest& request,
                                   std::vector<std::uint8_t>& windows) {
  const auto file = io::OpenForReading(path);
  if (!file) return std::unexpected(file.error());
  return Inspect(io::FileSource(file->file, file->size), path, request, windows);
}

TagEdit EditFromProposal(const id3v2::Proposal& p, TagEdit given) {
  for (const auto& [mine, proposed] : {std::pair{&given.title, &p.title},
                                       {&given.artist, &p.artist},
                                       {&given.album, &p.album},
                                       {&given.year, &p.year},
                                       {&given.comment, &p.comment}})
    if (!*mine) *mine = *proposed;
  if (!given.track) given.track = p.track;
  if (!given.genre) given.genre = p.genre;
  return given;
}

} // namespace id3
