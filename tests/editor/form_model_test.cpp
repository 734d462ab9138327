// What the editor decides without its window, natively and under Wine: the
// argument text, the preferences, what a box takes, the document over real
// files in several code pages (what it shows, what a save writes, the
// messages and their order), the panel's values.
#include "editor/form_model.h"

#include "mpeginfo/audio_facts.h"
#include "mpeginfo/frame_header.h"
#include "tagstore/genres.h"
#include "tools/paths.h"

#include "sample_tag.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <vector>

namespace id3::form {
namespace {

using namespace std::string_literals;

std::string Times(int n, std::string_view text) {
  std::string out;
  while (n-- > 0) out += text;
  return out;
}

TEST(EditorForm, CleansTheArgumentTextAndReadsThePreferences) {
  // The play option taken out (where a word is an option is
  // text::TakeOptionWord's), then the quotes.
  for (const auto& [text, path, no_play] :
       {std::tuple{"\"C:\\My Music\\a b.mp3\" -noplay", "C:\\My Music\\a b.mp3", true},
        {"C:\\x -noplay\\\"y\".mp3 -NOPLAY", "C:\\x -noplay\\y.mp3", true},
        {"-noplay", "-noplay", false}}) {
    EXPECT_EQ(CleanArgument(text).path, path) << text;
    EXPECT_EQ(CleanArgument(text).no_play, no_play) << text;
  }
  // Each preference by its own key; only "1", blanks around it allowed, ticks
  // a box.
  const auto read = [](std::optional<std::string> animations, std::optional<std::string> info) {
    return ReadPreferences([&](std::string_view key) {
      return key == kNoAnimationsKey ? animations : key == kNoFileInfoKey ? info : "1";
    });
  };
  EXPECT_EQ(read("1", " 1 "), (Preferences{true, true}));
  EXPECT_EQ(read(std::nullopt, "1"), (Preferences{false, true}));
  for (const char* other : {"0", "", " ", "yes", "2", "-1", "1x", "01a"})
    EXPECT_EQ(read(other, std::nullopt), Preferences{}) << other;
}

CodePage Named(const char* name) { return CodePage::Named(name).value(); }

TEST(EditorForm, ABoxTakesNoMoreThanItsFieldHoldsInBytesOfTheCodePage) {
  const std::string j15 = Times(15, "あ");
  // code page, limit, text before, after and the caret in it; text and caret
  const std::tuple<const char*, std::size_t, std::string, std::string, std::size_t, std::string,
                   std::size_t>
      cases[] = {
          // Typed or pasted after 15 double-byte characters: refused.
          {"932", 30, j15, j15 + "abc", 48, j15, 45},
          {"932", 30, "", j15 + "abc", 48, j15, 45},
          {"932", 30, Times(14, "あ"), Times(14, "あ") + "aあ", 45, Times(14, "あ") + "a", 43},
          {"UTF-8", 30, Times(14, "é"), Times(16, "é"), 32, Times(15, "é"), 30},
          // What the code page lacks shows as it will be stored.
          {"1252", 30, "ab", "a日本b", 7, "a??b", 3},
          {"1251", 30, "", "Жö", 4, "Ж?", 3},
          {"1252", 30, "é", "ũ", 0, "?", 1},
          {"1252", 30, "é", "è", 2, "è", 2},
          // Taking away is always allowed, even from a text over the limit.
          {"1252", 4, "123456", "12346", 4, "12346", 4},
          // The caret tells which of equal characters is the new one.
          {"1252", 2, "aa", "aaa", 1, "aa", 0},
      };
  for (const auto& [name, limit, before, after, caret, text, at] : cases) {
    const BoxText fitted = FitBoxText(before, after, caret, limit, Named(name));
    EXPECT_EQ(fitted.text, text) << name << " " << after;
    EXPECT_EQ(fitted.caret, at) << name << " " << after;
  }
}

const CodePage kCp = CodePage::Windows1252();

TagRecord Record(std::initializer_list<std::pair<std::size_t, std::string>> parts) {
  TagRecord rec;
  rec.fill(' ');
  for (const auto& [at, bytes] : parts) std::ranges::copy(bytes, rec.begin() + at);
  return rec;
}

const test::Bytes kAudio = test::Repeat(0x55, 600);

std::string Texts(const std::array<std::string, kTextCount>& t) {
  return t[kTitle] + "|" + t[kArtist] + "|" + t[kComment] + "|" + t[kYear];
}

class EditorDocument : public test::ScratchTest {
protected:
  std::string Tagged(const std::string& name, const TagRecord& rec) const {
    return Make(name, test::Concat({kAudio, test::Bytes(rec.begin(), rec.end())}));
  }
  // A file made by tests/data/tagstore/make-codepages, copied; without its
  // ID3v1 record where asked.
  std::string CopyOf(const std::string& name, bool strip = false) const {
    const test::Bytes bytes = test::ReadAll(test::GenFile("codepages/" + name));
    return Make(name, strip ? test::Bytes(bytes.begin(), bytes.end() - record::kSize) : bytes);
  }
};

// Words in Windows-1252 (title, album, comment) and 1251 (artist), a track and
// a genre byte without a name, opened in each code page: only the year changed.
TEST_F(EditorDocument, WhatTheUserLeftAloneKeepsItsBytesInEveryCodePage) {
  const TagRecord rec = Record({{0, "TAG"},
                                {3, "Caf\xE9 Cr\xE8me"},
                                {33, "\xCF\xF0\xE8\xE2\xE5\xF2"},
                                {63, "Best of"},
                                {93, "1999"},
                                {97, "\xDC"
                                     "ber D\xE9j\xE0"},
                                {125, "\0\x07\xC8"s}});
  TagRecord want = rec;
  std::ranges::copy("2002"s, want.begin() + record::kYearOffset);
  for (const char* name : {"1252", "1251", "932", "936", "UTF-8"}) {
    const std::string path = Tagged("song.mp3", rec);
    Document doc(Named(name));
    ASSERT_FALSE(doc.Load(path));
    TagInputs inputs = doc.Shown();
    inputs.text[kYear] = "2002";
    EXPECT_FALSE(doc.Save(inputs)) << name;
    EXPECT_EQ(test::ReadAll(path), test::Concat({kAudio, test::Bytes(want.begin(), want.end())}))
        << name;
  }
}

TEST_F(EditorDocument, ShowsTheTagProposesATitleAndWritesAGenreChosen) {
  // No title, a track, and a genre byte without a name, shown as "Blues".
  const std::string path =
      Tagged("Some Song.mp3", Record({{0, "TAG"}, {97, "Old comment"}, {125, "\0\x07\xFF"s}}));
  const auto save = [&](bool chosen, const std::string& genre) {
    Document doc(kCp);
    EXPECT_FALSE(doc.Load(path));
    TagInputs inputs = doc.Shown();
    inputs.genre_chosen = chosen;
    inputs.genre_text = genre;
    EXPECT_FALSE(doc.Save(inputs));
    return int(test::ReadAll(path)[600 + record::kGenreOffset]);
  };
  Document doc(kCp);
  ASSERT_FALSE(doc.Load(path));
  EXPECT_EQ(std::tuple(doc.CurrentFile(), doc.FileSize(), Texts(doc.Shown().text),
                       doc.Shown().genre_index),
            std::tuple(path, 728u, "Some Song||Old comment|", 0));
  const std::size_t limits[] = {30, 30, 28, 30, 4};
  for (std::size_t box = 0; box < kTextCount; ++box)
    EXPECT_EQ(doc.Limit(TextIndex(box)), limits[box]) << box;

  EXPECT_EQ(save(false, "Blues"), 255);
  EXPECT_EQ(save(true, "Blues"), 0);
  EXPECT_EQ(save(true, "Rock"), 17);
  EXPECT_EQ(test::TagOf(path, kCp).title, "Some Song");
  ASSERT_FALSE(doc.Load(test::GenFile("trailing/tagplus-id3v1.mp3")));
  EXPECT_EQ(doc.WholeText(kTitle), std::string(30, 'T') + " and the rest of the title");

  // A proposed title fits the box as if it had been typed.
  Document japanese(Named("932"));
  ASSERT_FALSE(japanese.Load(dir.File(Times(20, "あ") + ".mp3")));
  EXPECT_EQ(japanese.Shown().text[kTitle], Times(15, "あ"));
}

// A file without an ID3v1 tag opens with what its ID3v2 tag holds, fitted to
// the boxes as typed text is, the genre selected where it maps, before the
// file's name; Save writes a new ID3v1 tag, with the genre shown, and nothing
// else. With an ID3v1 tag, that shows.
TEST_F(EditorDocument, ProposesWhatTheId3v2TagHoldsForAFileWithoutAnId3v1Tag) {
  const auto shown = [](const Document& doc) {
    const TagInputs& s = doc.Shown();
    return Texts(s.text) + "|" + s.text[kAlbum] + "|" + std::to_string(s.genre_index);
  };
  const test::Bytes v2 = test::ReadAll(test::GenFile("id3v2/mutagen-v24-utf8.mp3"));
  const std::string path = Make("name.mp3", v2);
  Document doc(kCp);
  ASSERT_FALSE(doc.Load(path));
  EXPECT_EQ(shown(doc), "?mega ? über|Artist A / Artist B|The comment|2004|Album|54");
  EXPECT_EQ(doc.Limit(kComment), 30u);
  TagInputs inputs = doc.Shown();
  inputs.genre_text = GenreName(static_cast<std::int16_t>(inputs.genre_index));
  EXPECT_FALSE(doc.Save(inputs));
  const test::Bytes saved = test::ReadAll(path);
  EXPECT_EQ(test::Bytes(saved.begin(), saved.end() - record::kSize), v2);
  const TagFields tag = test::TagOf(path, kCp);
  EXPECT_EQ(std::tuple(tag.artist, tag.genre_byte), std::tuple(inputs.text[kArtist], 54));
  const TagRecord v1 = Record({{0, "TAG"}, {33, "v1 artist"}});
  ASSERT_FALSE(doc.Load(Make("name.mp3", test::Concat({v2, test::Bytes(v1.begin(), v1.end())}))));
  EXPECT_EQ(shown(doc), "name|v1 artist||||32");
}

std::string Checked(const std::vector<EncodingItem>& items) {
  std::string out;
  for (const EncodingItem& item : items)
    if (item.checked) out += item.text + ";";
  return out;
}

// The code page of each file's tag decided at the load (the fallback is the
// document's code page), the tag shown in it, and the menu's item checked.
TEST_F(EditorDocument, ShowsEachTagInTheCodePageItsFileSays) {
  // file, fallback; the code page decided and why, the tag shown, "Жあ" typed
  // into a box as it shows, and the menu's item checked
  const std::tuple<const char*, const char*, const char*, CodePageFrom, std::string, std::string,
                   std::string>
      cases[] = {
          {"japanese.mp3", "1252", "cp932", CodePageFrom::kId3v2, "ひこうき雲|荒井由実||1988",
           "Жあ", "Japanese (Shift-JIS, 932) — from the ID3v2 tag"},
          {"utf8-no-id3v2.mp3", "1252", "utf-8", CodePageFrom::kUtf8,
           "Ρωμαίικο|Νίκος Ξυλούρης||1988", "Жあ", "Unicode (UTF-8) — the bytes are UTF-8"},
          {"russian-no-id3v2.mp3", "1251", "windows-1251", CodePageFrom::kDefault,
           "Группа крови|Кино|Лучший альбом группы 1988 го|1988", "Ж?",
           "Cyrillic (Windows-1251) — the system's code page"},
      };
  for (const auto& [file, fallback, name, from, shown, fitted, item] : cases) {
    Document doc(Named(fallback));
    ASSERT_FALSE(doc.Load(CopyOf(file)));
    EXPECT_EQ(std::tuple(doc.Choice().name, doc.Choice().from, Texts(doc.Shown().text),
                         doc.Fit(kTitle, "", "Жあ", 5).text, Checked(doc.Encodings())),
              std::tuple(name, from, shown, fitted, item + ";"))
        << file << " " << fallback;
  }
}

// The user chooses code pages in turn: the boxes left alone are read again
// from their bytes (a value proposed from the ID3v2 tag fitted again), an
// edited box is fitted to the code page, and Save writes the edited fields in
// the last one chosen; the title, artist and album bytes of a record stay.
TEST_F(EditorDocument, AnEncodingChosenReadsAgainTheBoxesLeftAlone) {
  const struct {
    const char* file;
    bool strip;
    std::vector<std::pair<TextIndex, std::string>> edits;
    std::vector<std::string> chosen;
    std::string shown;
  } cases[] = {
      {"russian-no-id3v2.mp3",
       false,
       {{kYear, "2002"}, {kComment, "Café"}},
       {"Cyrillic (Windows-1251)"},
       "Группа крови|Кино|Caf?|2002"},
      {"japanese.mp3", true, {}, {"Japanese (Shift-JIS, 932)"}, "ひこうき雲|荒井由実||"},
      {"russian.mp3",
       false,
       {},
       {"Western European (Windows-1252)", "Cyrillic (Windows-1251)"},
       "Группа крови|Кино|Лучший альбом группы 1988 го|1988"},
  };
  for (const auto& c : cases) {
    const std::string path = CopyOf(c.file, c.strip);
    const test::Bytes before = test::ReadAll(path);
    Document doc(kCp);
    ASSERT_FALSE(doc.Load(path));
    TagInputs inputs = doc.Shown();
    for (const auto& [box, text] : c.edits) inputs.text[box] = text;
    for (const std::string& display : c.chosen) {
      const auto items = doc.Encodings();
      const auto item = std::ranges::find_if(
          items, [&](const EncodingItem& i) { return i.text.starts_with(display); });
      ASSERT_NE(item, items.end()) << display;
      inputs = doc.UseEncoding(std::size_t(item - items.begin()), inputs);
      EXPECT_EQ(Checked(doc.Encodings()), item->text + ";") << c.file;
    }
    EXPECT_EQ(Texts(inputs.text), c.shown) << c.file;
    EXPECT_EQ(doc.Choice().from, CodePageFrom::kOption);
    EXPECT_EQ(test::ReadAll(path), before) << c.file;
    inputs.genre_text = "Blues";
    EXPECT_FALSE(doc.Save(inputs));
    const test::Bytes saved = test::ReadAll(path);
    const TagFields tag = test::TagOf(path, doc.Choice().code_page);
    EXPECT_EQ(Texts({tag.album, tag.artist, tag.comment, tag.title, tag.year}), c.shown) << c.file;
    if (c.strip) continue;
    const auto fields = [](const test::Bytes& b) {
      return test::Bytes(b.end() - record::kSize, b.end() - record::kSize + record::kYearOffset);
    };
    EXPECT_EQ(fields(saved), fields(before)) << c.file;
  }
}

TEST_F(EditorDocument, ChecksComeInTheirOrderAndAFailureLeavesTheFileAsItWas) {
  Document doc(kCp);
  TagInputs inputs;
  // The genre comes first, even with no file open.
  EXPECT_EQ(doc.Save(inputs)->text, kSelectGenre.text);
  inputs.genre_index = 0;
  EXPECT_EQ(doc.Save(inputs)->text, kNoFileOpen.text);
  EXPECT_EQ(doc.DeleteRefusal()->text, kNoFileOpen.text);

  const TagRecord rec = Record({{0, "TAG"}, {3, "Title"}});
  const std::string path = Tagged("a.mp3", rec);
  const test::Bytes tagged = test::ReadAll(path);
  ASSERT_FALSE(doc.Load(path));
  inputs = doc.Shown();
  inputs.text[kTitle] = "Other";
  EXPECT_FALSE(doc.DeleteRefusal());
  // Changed by another program since the load: nothing is written.
  for (std::uint64_t length : {727u, 600u, 729u}) {
    std::filesystem::resize_file(test::FromU8(path), length);
    const test::Bytes before = test::ReadAll(path);
    EXPECT_EQ(doc.Save(inputs)->text, SaveFailure(TagError::Changed).text);
    EXPECT_EQ(doc.Delete()->text, SaveFailure(TagError::Changed).text);
    EXPECT_EQ(test::ReadAll(path), before) << length;
  }
  test::WriteAll(path, tagged);
  EXPECT_FALSE(doc.Delete());
  EXPECT_EQ(test::ReadAll(path), kAudio);
  // Gone, or a folder in its place.
  for (const bool folder : {false, true}) {
    std::filesystem::remove(test::FromU8(path));
    if (folder) std::filesystem::create_directory(test::FromU8(path));
    EXPECT_EQ(doc.Save(inputs)->text, SaveFailure(TagError::NotFound).text);
    EXPECT_EQ(doc.DeleteRefusal()->text, SaveFailure(TagError::NotFound).text);
  }
  // A refused path leaves no file open.
  EXPECT_EQ(doc.Load("C:\\song.mp")->text, kInvalidFile.text);
  EXPECT_EQ(doc.CurrentFile(), "");
}

TEST(EditorForm, PanelValues) {
  for (const auto& [version, separator, text] :
       {std::tuple{1.0f, ".", "1"}, {2.5f, ".", "2.5"}, {2.5f, ",", "2,5"}})
    EXPECT_EQ(mpeg::MpegVersionText(version, separator), text);
  // No audio found: empty audio values, but the file's real size.
  const auto values = AudioValues(AudioFacts{}, 4096, ".");
  EXPECT_EQ(values[0] + values[2] + values[7], "00");
  EXPECT_EQ(values[5], FormatFileSize(4096));
}

} // namespace
} // namespace id3::form
