// id3v1: the tag store and the audio facts on the command line.
#include "tagstore/tag.h"

#include <cstdio>

int main(int argc, char** argv) {
  int failures = 0;
  for (int i = 1; i < argc; ++i) {
    auto tag = id3::TryReadTag(argv[i], id3::CodePage::SystemDefault());
    if (!tag) {
      std::fprintf(stderr, "id3v1: %s: %s\n", argv[i], id3::Describe(tag.error()).data());
      ++failures;
      continue;
    }
    std::printf("%s\nTitle: %s\nArtist: %s\nAlbum: %s\nYear: %s\nNote: %s\nGenre: %s\n", argv[i],
                tag->title.c_str(), tag->artist.c_str(), tag->album.c_str(), tag->year.c_str(),
                tag->comment.c_str(), tag->genre.c_str());
  }
  return failures ? 1 : 0;
}
