// What deciding a tag's code page costs per file: nothing to try for ASCII,
// the tag most files carry; every candidate for a tag no ID3v2 text matches.
#include "tagstore/codepage_choice.h"

#include <benchmark/benchmark.h>

#include <algorithm>

namespace {

using id3::CodePage;
using id3::Id3v2Texts;
using id3::TagRecord;

// A v1.1 record of the texts' bytes, padded with zeros.
TagRecord Record(std::string_view title, std::string_view artist, std::string_view album) {
  TagRecord rec{};
  std::ranges::copy(std::string_view("TAG"), rec.begin());
  std::ranges::copy(title, rec.begin() + id3::record::kTitleOffset);
  std::ranges::copy(artist, rec.begin() + id3::record::kArtistOffset);
  std::ranges::copy(album, rec.begin() + id3::record::kAlbumOffset);
  rec[id3::record::kTrackOffset] = 7;
  return rec;
}

void Choose(benchmark::State& state, const TagRecord& rec, const Id3v2Texts& texts) {
  const CodePage fallback = CodePage::Windows1252();
  for (auto _ : state)
    benchmark::DoNotOptimize(id3::ChooseCodePage(rec, texts, std::nullopt, fallback));
}

// "Группа крови", "Кино", "Звезда по имени Солнце" in 1251.
const TagRecord kRussian =
    Record("\xC3\xF0\xF3\xEF\xEF\xE0 \xEA\xF0\xEE\xE2\xE8", "\xCA\xE8\xED\xEE",
           "\xC7\xE2\xE5\xE7\xE4\xE0 \xEF\xEE \xE8\xEC\xE5\xED\xE8 "
           "\xD1\xEE\xEB\xED\xF6\xE5");
const Id3v2Texts kRussianTexts{"Группа крови", "Кино", "Звезда по имени Солнце", std::nullopt};

BENCHMARK_CAPTURE(Choose, ascii, Record("Title 1", "Artist 1", "Album 1"),
                  Id3v2Texts{"Title 1", "Artist 1", "Album 1", "corpus"});
BENCHMARK_CAPTURE(Choose, russian_from_id3v2, kRussian, kRussianTexts);
BENCHMARK_CAPTURE(Choose, russian_no_id3v2, kRussian, Id3v2Texts{});
BENCHMARK_CAPTURE(Choose, russian_other_title, kRussian,
                  Id3v2Texts{"Кукушка", "Кино", "Звезда по имени Солнце", std::nullopt});
// "ひこうき雲" in 932.
BENCHMARK_CAPTURE(Choose, japanese_from_id3v2,
                  Record("\x82\xD0\x82\xB1\x82\xA4\x82\xAB\x89\x5F", "", ""),
                  Id3v2Texts{"ひこうき雲", std::nullopt, std::nullopt, std::nullopt});

} // namespace

BENCHMARK_MAIN();
