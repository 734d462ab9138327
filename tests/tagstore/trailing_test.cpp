// The end of a file: the blocks that mp3gain, mutagen and hand-made Lyrics3
// and TAG+ blocks leave behind the audio (tests/data/trailing/make-layouts),
// against where they were put and where mutagen finds the APEv2 tag; what
// set and remove would touch there, and what the tag store's set and remove
// do to the file; and the damaged ends that neither may touch.
#include "tagstore/trailing.h"

#include "counting_source.h"
#include "mpeg_synth.h"
#include "testfs.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

namespace id3 {
namespace {

using test::Bytes;
using test::Concat;
using test::Text;

const CodePage kCp = CodePage::Windows1252();

std::string Summary(const FileEnd& end) {
  std::string s;
  for (const Block& b : end.blocks)
    s += std::string(EndBlockName(b.kind)) + "@" + std::to_string(b.offset) + "+" +
         std::to_string(b.size) + " ";
  s += "audio=" + std::to_string(end.audio_end);
  if (end.unclear) s += " unclear: " + *end.unclear;
  return s;
}

using FileEndTest = test::ScratchTest;

TEST_F(FileEndTest, WhatTheTaggersLeft) {
  // Each file whose end is unclear, and what its message names.
  const std::pair<std::string_view, std::string_view> kUnclear[] = {
      {"ape-size-past-start.mp3", "APEv2 footer whose size points before the start of the file"},
      {"ape-size-past-start-id3v1.mp3", "APEv2 footer whose size points before the start"},
      {"ape-header-missing.mp3", "APEv2 footer that announces a header where there is none"},
      {"lyrics3v2-size-into-audio.mp3", "Lyrics3 v2 block whose size does not lead to"},
  };
  const auto layouts = nlohmann::json::parse(test::ReadAll(test::GenFile("trailing/layouts.json")));
  ASSERT_EQ(layouts.size(), 17u);
  for (const auto& layout : layouts) {
    const std::string name = layout["file"];
    SCOPED_TRACE(name);
    const Bytes file = test::ReadAll(test::GenFile("trailing/" + name));
    const test::CountingSource src(file);
    const auto end = ReadFileEnd(src);
    ASSERT_TRUE(end);
    // One read where the last 4 KiB hold every block, else one more for
    // the block that reaches further back.
    EXPECT_EQ(src.reads,
              file.size() - layout["audio_end"].get<std::size_t>() <= kEndWindow ? 1 : 2);
    nlohmann::json found = nlohmann::json::array();
    for (const Block& b : end->blocks)
      found.push_back({std::string(EndBlockName(b.kind)), b.offset, b.size});
    EXPECT_EQ(found, layout["blocks"]);
    const bool unclear = layout["unclear"];
    EXPECT_EQ(end->audio_end, unclear
                                  ? (end->blocks.empty() ? file.size() : end->blocks.front().offset)
                                  : std::uint64_t(layout["audio_end"]));
    const auto* message = std::ranges::find_if(kUnclear, [&](auto& u) { return name == u.first; });
    ASSERT_EQ(message != std::end(kUnclear), unclear);
    ASSERT_EQ(end->unclear.has_value(), unclear);
    if (unclear) {
      EXPECT_NE(end->unclear->find(message->second), std::string::npos) << *end->unclear;
    }
    // The store on a copy: set writes over the record or behind the last
    // block and clears the title's TAG+ part, remove cuts both and nothing
    // where there is no record; an unclear end is refused, byte for byte.
    const auto& blocks = layout["blocks"];
    const bool has_v1 = !blocks.empty() && blocks.back()[0] == "ID3v1";
    const bool has_plus = has_v1 && blocks.size() > 1 && blocks[blocks.size() - 2][0] == "TAG+";
    const std::string copy = Make(name, file);
    TagEdit title;
    title.title = "x";
    const TagRecord fresh = ApplyEdit(end->record, title, kCp).record;
    const std::size_t at = has_v1 ? file.size() - record::kSize : file.size();
    Bytes set = file, removed = file;
    if (!unclear) {
      set.resize(at);
      set.insert(set.end(), fresh.begin(), fresh.end());
      if (has_plus)
        std::fill_n(set.begin() + std::ptrdiff_t(at - tagplus::kSize + tagplus::kTitleOffset),
                    tagplus::kTextWidth, 0);
      if (has_v1) removed.resize(has_plus ? at - tagplus::kSize : at);
    }
    // mutagen's APEv2 tag stays where it found it.
    for (const Bytes& bytes : {file, set, removed}) {
      const auto now = ReadFileEnd(io::MemorySource(bytes));
      const auto ape = std::ranges::find(now->blocks, EndBlock::kApe, &Block::kind);
      EXPECT_EQ(ape == now->blocks.end() ? nlohmann::json()
                                         : nlohmann::json::array({ape->offset, ape->size}),
                layout["mutagen_ape"]);
    }
    const std::expected<void, TagError> done =
        unclear ? std::unexpected(TagError::UnclearEnd) : std::expected<void, TagError>{};
    EXPECT_EQ(TryWriteRecord(copy, fresh, title, file.size()), done);
    EXPECT_EQ(test::ReadAll(copy), set);
    test::WriteAll(copy, file);
    EXPECT_EQ(TryRemoveTag(copy, file.size()), done);
    EXPECT_EQ(test::ReadAll(copy), removed);
  }
}

// A record of blank fields behind its marker.
Bytes Record(std::string_view marker = "TAG") {
  return Concat({Text(marker), Bytes(record::kSize - marker.size(), ' ')});
}

Bytes Le32(std::uint32_t v) {
  return {std::uint8_t(v), std::uint8_t(v >> 8), std::uint8_t(v >> 16), std::uint8_t(v >> 24)};
}

// An APEv2 footer (and its header when asked) around items.
Bytes Ape(const Bytes& items, bool header = true) {
  const auto size = static_cast<std::uint32_t>(items.size() + ape::kFooterSize);
  const auto part = [&](std::uint32_t flags) {
    return Concat({Text(ape::kPreamble), Le32(2000), Le32(size), Le32(1), Le32(flags), Bytes(8)});
  };
  const std::uint32_t has = header ? ape::kHasHeader : 0;
  return Concat({header ? part(has | ape::kIsHeader) : Bytes{}, items, part(has)});
}

Bytes WithSize(Bytes ape, std::uint32_t size) {
  std::ranges::copy(Le32(size), ape.end() - ape::kFooterSize + ape::kSizeOffset);
  return ape;
}

TEST(FileEnd, MadeInMemory) {
  const Bytes audio(5000, 0xAA);
  const Bytes id3v2 = test::Id3v2Tag(Bytes(20, 0));
  // Appended: a size of 200, whose synchsafe bytes are not its plain ones.
  const Bytes tail_tag = test::Id3v2Tag(Bytes(200, 0));
  const Bytes appended =
      Concat({tail_tag, Text("3DI"), Bytes(tail_tag.begin() + 3, tail_tag.begin() + 10)});
  Bytes plus(tagplus::kSize, 0);
  std::ranges::copy(tagplus::kMarker, plus.begin());
  Bytes plus_and_ape_footer = plus;
  const Bytes footer = Ape({}, false);
  std::ranges::copy(footer, plus_and_ape_footer.end() - ape::kFooterSize);
  const struct {
    const char* what;
    Bytes file;
    std::uint64_t floor;
    std::string want;
  } cases[] = {
      {"an appended ID3v2 tag in front of the record", Concat({audio, appended, Record()}), 0,
       "ID3v2@5000+220 ID3v1@5220+128 audio=5000"},
      {"the marker in any letter case", Concat({audio, Record("tAg")}), 0,
       "ID3v1@5000+128 audio=5000"},
      {"a file that is nothing but a record", Record(), 0, "ID3v1@0+128 audio=0"},
      {"TAG+ and an APEv2 footer on the same bytes", Concat({audio, plus_and_ape_footer, Record()}),
       0,
       "ID3v1@5227+128 audio=5227 unclear: a TAG+ block and another block both end where the "
       "ID3v1 tag begins"},
      {"an APEv2 size reaching into the leading ID3v2 tag",
       Concat({id3v2, WithSize(Ape(Bytes(10, 'i'), false), 60)}), 30,
       "audio=72 unclear: an APEv2 footer whose size points into the ID3v2 tag at the start"},
      {"an APEv2 footer smaller than itself", Concat({audio, WithSize(Ape({}, false), 8)}), 0,
       "audio=5032 unclear: an APEv2 footer whose size is less than its own"},
      {"a Lyrics3 v1 end without its beginning",
       Concat({audio, Text("LYRICSBEGIN"), Bytes(5101, 'l'), Text("LYRICSEND")}), 0,
       "audio=10121 unclear: a Lyrics3 v1 end without its LYRICSBEGIN in the 5,100 bytes before "
       "it"},
      {"a Lyrics3 v1 block of the longest lyrics",
       Concat({audio, Text("LYRICSBEGIN"), Bytes(5100, 'l'), Text("LYRICSEND"), Record()}), 0,
       "Lyrics3v1@5000+5120 ID3v1@10120+128 audio=5000"},
      {"TAG+ reaching below the leading ID3v2 tag's end", Concat({Bytes(10, 0), plus, Record()}),
       40, "TAG+@10+227 ID3v1@237+128 audio=10"},
      {"a Lyrics3 v1 block in front of an APEv2 tag larger than the window",
       Concat({audio, Text("LYRICSBEGIN"), Text("la"), Text("LYRICSEND"), Ape(Bytes(5000, 'i')),
               Record()}),
       0, "Lyrics3v1@5000+22 APEv2@5022+5064 ID3v1@10086+128 audio=5000"},
      {"an appended ID3v2 footer whose header is elsewhere is audio",
       Concat({audio, Bytes(appended.begin() + 1, appended.end())}), 0, "audio=5219"},
  };
  for (const auto& c : cases) {
    const auto end = ReadFileEnd(io::MemorySource(c.file), c.floor);
    ASSERT_TRUE(end) << c.what;
    EXPECT_EQ(Summary(*end), c.want) << c.what;
  }
}

// A large block costs one more read for its start; a read that fails is the
// reader's error; a crafted run of tiny blocks ends after a few.
TEST(FileEnd, Reads) {
  const Bytes big = Concat({Bytes(100, 0xAA), Ape(Bytes(100'000, 'i')), Record()});
  const test::CountingSource src(big);
  const auto end = ReadFileEnd(src);
  ASSERT_TRUE(end);
  EXPECT_EQ(Summary(*end), "APEv2@100+100064 ID3v1@100164+128 audio=100");
  EXPECT_EQ(src.reads, 2);
  EXPECT_LT(src.bytes_read, 5000u);

  test::CountingSource failing(big);
  failing.fail_from = 150;
  EXPECT_FALSE(ReadFileEnd(failing));

  Bytes tiny(100, 0xAA);
  for (int i = 0; i < 40; ++i) tiny = Concat({tiny, Ape({}, false)});
  const auto many = ReadFileEnd(io::MemorySource(tiny));
  ASSERT_TRUE(many);
  EXPECT_EQ(many->blocks.size(), 16u);
}

TEST(FileEnd, TagPlus) {
  Bytes rec = Record();
  std::ranges::copy(std::string_view("A title of exactly thirty byte"), rec.begin() + 3);
  std::ranges::copy(std::string_view("Artist"), rec.begin() + 33);
  Bytes plus(tagplus::kSize, 0);
  std::ranges::copy(tagplus::kMarker, plus.begin());
  std::ranges::copy(std::string_view("s and more"), plus.begin() + tagplus::kTitleOffset);
  std::ranges::copy(std::string_view("Eurodance"), plus.begin() + tagplus::kGenreOffset);
  const Bytes file = Concat({Bytes(1000, 0xAA), plus, rec});
  const auto end = ReadFileEnd(io::MemorySource(file));
  ASSERT_TRUE(end && end->record && end->tag_plus);
  EXPECT_EQ(JoinTagPlus(*end->record, *end->tag_plus, kCp),
            (LongTexts{"A title of exactly thirty bytes and more", "Artist", ""}));

  // A written field loses its TAG+ part; one not written, or with none, keeps it.
  using Field = std::optional<std::string> TagEdit::*;
  const struct {
    std::vector<Field> written;
    bool rewrites;
  } cases[] = {
      {{&TagEdit::title}, true},
      {{&TagEdit::artist, &TagEdit::album}, false},
      {{&TagEdit::year, &TagEdit::comment}, false},
  };
  for (const auto& c : cases) {
    TagEdit edit;
    for (const Field f : c.written) edit.*f = "New";
    const auto plan = PlanSet(*end, edit);
    ASSERT_TRUE(plan);
    EXPECT_EQ(plan->record_offset, 1227u);
    ASSERT_EQ(plan->tag_plus.has_value(), c.rewrites);
    if (!c.rewrites) continue;
    Bytes want = plus;
    std::fill_n(want.begin() + tagplus::kTitleOffset, tagplus::kTextWidth, 0);
    EXPECT_EQ(plan->tag_plus->first, 1000u);
    EXPECT_EQ(Bytes(plan->tag_plus->second.begin(), plan->tag_plus->second.end()), want);
    EXPECT_EQ(JoinTagPlus(*end->record, plan->tag_plus->second, kCp).title,
              "A title of exactly thirty byte");
  }
}

} // namespace
} // namespace id3
