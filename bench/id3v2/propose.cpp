// What the rules would write into the ID3v1 tag of each file, as one JSON
// object per line; for bench/id3v2/peers before id3v1 writes it itself.
#include "id3v2/to_id3v1.h"
#include "tools/bytesource.h"

#include <cstdio>
#include <string>

namespace {

std::string Quoted(const std::optional<std::string>& text) {
  if (!text) return "null";
  std::string out = "\"";
  for (const char c : *text) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + '"';
}

std::string Number(const std::optional<std::uint8_t>& n) { return n ? std::to_string(*n) : "null"; }

} // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const auto file = id3::io::OpenForReading(argv[i]);
    if (!file) return 1;
    const id3::io::FileSource src(file->file, file->size);
    const auto found = id3::id3v2::Read(src, id3::CodePage::Windows1252());
    if (!found) return 1;
    id3::id3v2::Proposal p;
    if (found->tag) p = id3::id3v2::ProposeId3v1(*found->tag);
    std::printf("{\"title\":%s,\"artist\":%s,\"album\":%s,\"year\":%s,\"comment\":%s,"
                "\"track\":%s,\"genre\":%s,\"warnings\":%zu}\n",
                Quoted(p.title).c_str(), Quoted(p.artist).c_str(), Quoted(p.album).c_str(),
                Quoted(p.year).c_str(), Quoted(p.comment).c_str(), Number(p.track).c_str(),
                Number(p.genre).c_str(), p.warnings.size());
  }
  return 0;
}
