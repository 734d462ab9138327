// What the editor decides without its window, natively and under Wine: the
// argument text, the accepted paths, the proposed title, the preferences, the
// box limits, the record a save writes (over real files), the messages of the
// commands and their order, the About text and the panel's values.
#include "editor/form_model.h"

#include "mpeginfo/frame_header.h"
#include "mpeginfo/mp3info.h"
#include "tagstore/genres.h"
#include "tagstore/tag.h"
#include "tools/paths.h"

#include "testfs.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

namespace id3::form {
namespace {

using test::Bytes;

TEST(EditorArgument, CleansQuotesAndThePlayOptionAsAWholeWord) {
  struct Case {
    const char* text;
    const char* path;
    bool no_play;
  };
  const Case cases[] = {
      {"\"C:\\My Music\\a b.mp3\" -noplay", "C:\\My Music\\a b.mp3", true},
      {"\"C:\\a.mp3\" -NoPlay", "C:\\a.mp3", true},
      // A file may carry the option's text in its name.
      {"\"C:\\Music\\Live -noplay set.mp3\"", "C:\\Music\\Live -noplay set.mp3", false},
      {"C:\\x -noplay\\\"y\".mp3 -NOPLAY", "C:\\x -noplay\\y.mp3", true},
      {"C:\\My Music\\a b.mp3", "C:\\My Music\\a b.mp3", false},
      // Without its leading blank the option is part of the path.
      {"-noplay", "-noplay", false},
  };
  for (const Case& c : cases) {
    const Argument arg = CleanArgument(c.text);
    EXPECT_EQ(arg.path, c.path) << c.text;
    EXPECT_EQ(arg.no_play, c.no_play) << c.text;
  }
}

TEST(EditorArgument, AcceptsOnlyAnMp3EndingInAnyCase) {
  for (const char* path : {"C:\\Music\\song.mp3", "C:\\Music\\SONG.MP3", "song.Mp3", ".mp3"})
    EXPECT_TRUE(IsAcceptedPath(path)) << path;
  for (const char* path : {"C:\\Music\\song.mp3 ", "C:\\Music\\song.mp", "song.wav", "mp3", ""})
    EXPECT_FALSE(IsAcceptedPath(path)) << path;
}

TEST(EditorTitle, ProposesTheFileNameCutToTheTitleBox) {
  EXPECT_EQ(ProposedTitle("C:\\Music\\Some Song.mp3"), "Some Song");
  EXPECT_EQ(ProposedTitle("C:\\a.b\\c.d.mp3"), "c.d");
  EXPECT_EQ(ProposedTitle("C:\\0123456789012345678901234567890123456789.mp3"),
            "012345678901234567890123456789");
  // Thirty characters, not bytes: a two-byte character is kept whole.
  std::string name;
  for (int i = 0; i < 35; ++i) name += "\xC3\xA9";
  EXPECT_EQ(ProposedTitle("C:\\" + name + ".mp3"), name.substr(0, 60));
}

TEST(EditorInputs, PreferencesAndBoxLimits) {
  EXPECT_TRUE(PreferenceChecked("1"));
  EXPECT_TRUE(PreferenceChecked(" 1 "));
  for (const char* other : {"0", "", " ", "yes", "2", "-1", "1x", "01a"})
    EXPECT_FALSE(PreferenceChecked(other)) << other;
  EXPECT_EQ(PreferenceText(true), "1");
  EXPECT_EQ(PreferenceText(false), "0");

  TagFields with_track;
  with_track.track = 3;
  const std::size_t plain[] = {30, 30, 30, 30, 4}, tracked[] = {30, 30, 28, 30, 4};
  for (std::size_t box = 0; box < kTextCount; ++box) {
    EXPECT_EQ(TextLimit(TextIndex(box), {}), plain[box]) << box;
    EXPECT_EQ(TextLimit(TextIndex(box), with_track), tracked[box]) << box;
  }
}

class EditorSave : public test::ScratchTest {
protected:
  const CodePage cp = CodePage::SystemDefault();

  // A tagged file whose record is written byte by byte, so that it can hold
  // what the editor itself would not write.
  std::string Tagged(std::uint8_t genre_byte, std::optional<std::uint8_t> track) {
    TagFields tag;
    tag.title = "Old Title";
    tag.comment = "Old comment";
    tag.genre_byte = genre_byte;
    tag.track = track;
    const TagRecord rec = RenderTagRecord(tag, cp);
    return Make("tagged.mp3",
                test::Concat({test::Repeat(0x55, 600), Bytes(rec.begin(), rec.end())}));
  }
  // What the window does: show the loaded tag, let the user change the
  // inputs, save.
  Bytes SaveAfter(const std::string& path, const std::function<void(TagInputs&)>& edit) {
    const TagFields loaded = ReadTag(path, cp);
    TagInputs inputs = ShownInputs(loaded, path);
    inputs.genre_text = GenreName(static_cast<std::int16_t>(inputs.genre_index));
    edit(inputs);
    EXPECT_TRUE(WriteTag(path, FieldsToSave(inputs, loaded), cp));
    return test::ReadAll(path);
  }
};

TEST_F(EditorSave, KeepsWhatTheUserLeftAloneAndWritesAGenreChosenOnPurpose) {
  const std::string path = Tagged(255, std::uint8_t{7});
  Bytes saved = SaveAfter(path, [](TagInputs& in) { in.text[kTitle] = "New Title"; });
  ASSERT_EQ(saved.size(), 728u);
  EXPECT_EQ(saved[600 + record::kGenreOffset], 255);
  EXPECT_EQ(saved[600 + record::kTrackOffset], 7);
  EXPECT_EQ(ReadTag(path, cp).title, "New Title");
  EXPECT_EQ(ReadTag(path, cp).comment, "Old comment");
  // "Blues", which the list shows for a byte without a name, chosen.
  saved = SaveAfter(path, [](TagInputs& in) { in.genre_chosen = true; });
  EXPECT_EQ(saved[600 + record::kGenreOffset], 0);
  saved = SaveAfter(path, [](TagInputs& in) {
    in.genre_chosen = true;
    in.genre_text = GenreName(17);
  });
  EXPECT_EQ(saved[600 + record::kGenreOffset], 17);
  // A named genre left alone stays.
  saved = SaveAfter(path, [](TagInputs&) {});
  EXPECT_EQ(saved[600 + record::kGenreOffset], 17);
}

TEST_F(EditorSave, AFileChangedSinceTheLoadIsLeftAlone) {
  const std::string path = Tagged(17, std::nullopt);
  const Bytes original = test::ReadAll(path);
  const TagFields fields = FieldsToSave(ShownInputs(ReadTag(path, cp), path), ReadTag(path, cp));
  for (std::uint64_t length : {727u, 600u, 729u}) {
    std::filesystem::resize_file(test::FromU8(path), length);
    const Bytes before = test::ReadAll(path);
    EXPECT_EQ(TryWriteTag(path, fields, cp, original.size()).error(), TagError::Changed);
    EXPECT_EQ(TryRemoveTag(path, original.size()).error(), TagError::Changed);
    EXPECT_EQ(test::ReadAll(path), before) << length;
  }
  test::WriteAll(path, original);
  EXPECT_TRUE(TryWriteTag(path, fields, cp, original.size()).has_value());
  EXPECT_TRUE(TryRemoveTag(path, original.size()).has_value());
  EXPECT_EQ(test::ReadAll(path).size(), 600u);
}

TEST_F(EditorSave, ChecksComeInTheirOrderAndFailuresSayWhy) {
  const std::string present = Make("here.mp3", test::Repeat(0x55, 600));
  const std::string missing = dir.File("gone.mp3");
  // The genre comes first, even with no file open.
  EXPECT_EQ(SaveRefusal(false, "")->text, "Please select a genre!");
  EXPECT_EQ(SaveRefusal(false, present)->text, "Please select a genre!");
  EXPECT_EQ(SaveRefusal(true, "")->text, "No file open!");
  EXPECT_EQ(SaveRefusal(true, missing)->text, SaveFailure(TagError::NotFound).text);
  // A folder is no file.
  EXPECT_EQ(SaveRefusal(true, test::U8(dir.Path()))->text, SaveFailure(TagError::NotFound).text);
  EXPECT_FALSE(SaveRefusal(true, present).has_value());
  EXPECT_EQ(DeleteRefusal("")->icon, Icon::Exclamation);
  EXPECT_EQ(DeleteRefusal(missing)->text, SaveFailure(TagError::NotFound).text);
  EXPECT_FALSE(DeleteRefusal(present).has_value());

  const std::pair<TagError, std::string_view> reasons[] = {
      {TagError::AccessDenied, "The file is read-only."},
      {TagError::InUse, "The file is in use by another program."},
      {TagError::NoSpace, "The disk is full."},
      {TagError::NotFound, "The file has been removed or moved."},
      {TagError::IsDirectory, "The file has been removed or moved."},
      {TagError::TooShort, "The file was shortened or changed since it was loaded."},
      {TagError::Changed, "The file was shortened or changed since it was loaded."},
      {TagError::OnlyTag, "The file holds nothing but the tag."},
      {TagError::IoError, "The disk reported an error."},
  };
  for (const auto& [error, reason] : reasons) {
    const Message message = SaveFailure(error);
    EXPECT_EQ(message.text, "Error saving data!\r\n" + std::string(reason));
    EXPECT_EQ(message.caption, kAppTitle);
    EXPECT_EQ(message.icon, Icon::Critical);
    EXPECT_EQ(message.buttons, Buttons::Ok);
  }
}

TEST(EditorTexts, CaptionAboutAndPanel) {
  EXPECT_EQ(Caption({1, 0, 14}), "Quelmo ID3TAG EDITOR v1.0.14");
  // Nine lines joined by CR LF, none after the last.
  const std::string about = AboutText({2, 3, 4});
  EXPECT_EQ(about.find("Quelmo ID3TAG EDITOR v2.3.4\r\n\r\n"), 0u);
  EXPECT_NE(about.find("\r\n\r\nThis ID3Tag editor should comply with the id3v2.3.0 standard.\r\n"
                       "However, if you find any incompatible situations or bugs, please "
                       "contact:\r\n"),
            std::string::npos);
  EXPECT_EQ(std::count(about.begin(), about.end(), '\n'), 8);
  EXPECT_NE(about.back(), '\n');

  for (const auto& [version, separator, text] :
       {std::tuple{1.0f, ".", "1"}, {2.0f, ",", "2"}, {2.5f, ".", "2.5"}, {2.5f, ",", "2,5"}})
    EXPECT_EQ(mpeg::MpegVersionText(version, separator), text);
  // A file without a single frame: empty audio values, but its real size.
  test::ScratchDir dir;
  const std::string path = dir.File("junk.mp3");
  test::WriteAll(path, test::Repeat(0x20, 4096));
  clsMP3Info info;
  ASSERT_FALSE(info.LoadMP3(path));
  const auto values = AudioValues(info, 4096, ".");
  EXPECT_EQ(values[0], "0");
  EXPECT_EQ(values[2], "");
  EXPECT_EQ(values[5], FormatFileSize(4096));
  EXPECT_EQ(values[7], "0");
}

} // namespace
} // namespace id3::form
