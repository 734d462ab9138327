// What the editor decides without its window, natively: the argument text,
// the accepted paths, the proposed title, the preferences, the record a save
// writes (over real files), the order of the commands' checks. The window
// tests show the same through the real program.
#include "editor/form_model.h"
#include "mpeginfo/frame_header.h"

#include "mpeginfo/mp3info.h"
#include "tagstore/genres.h"
#include "tagstore/tag.h"
#include "tools/paths.h"

#include "testfs.h"

#include <gtest/gtest.h>

#include <functional>

namespace id3::form {
namespace {

using test::Bytes;

TEST(EditorArgument, CleansQuotesAndThePlayOptionInAnyCase) {
  EXPECT_EQ(CleanArgument("\"C:\\My Music\\a b.mp3\" -noplay").path, "C:\\My Music\\a b.mp3");
  EXPECT_TRUE(CleanArgument("\"C:\\a.mp3\" -noplay").no_play);
  const Argument upper = CleanArgument("\"C:\\a.mp3\" -NoPlay");
  EXPECT_TRUE(upper.no_play);
  EXPECT_EQ(upper.path, "C:\\a.mp3");
  // Only a whole word outside quotes is the option: a file may carry the
  // text in its name.
  const Argument named = CleanArgument("\"C:\\Music\\Live -noplay set.mp3\"");
  EXPECT_FALSE(named.no_play);
  EXPECT_EQ(named.path, "C:\\Music\\Live -noplay set.mp3");
  EXPECT_EQ(CleanArgument("C:\\x -noplay\\\"y\".mp3 -NOPLAY").path, "C:\\x -noplay\\y.mp3");

  const Argument plain = CleanArgument("C:\\My Music\\a b.mp3");
  EXPECT_FALSE(plain.no_play);
  EXPECT_EQ(plain.path, "C:\\My Music\\a b.mp3");
  // Without its leading blank the option is part of the path.
  const Argument bare = CleanArgument("-noplay");
  EXPECT_FALSE(bare.no_play);
  EXPECT_EQ(bare.path, "-noplay");
  EXPECT_FALSE(IsAcceptedPath(bare.path));
}

TEST(EditorArgument, AcceptsOnlyAnMp3EndingInAnyCase) {
  EXPECT_TRUE(IsAcceptedPath("C:\\Music\\song.mp3"));
  EXPECT_TRUE(IsAcceptedPath("C:\\Music\\SONG.MP3"));
  EXPECT_TRUE(IsAcceptedPath("song.Mp3"));
  EXPECT_TRUE(IsAcceptedPath(".mp3"));
  EXPECT_FALSE(IsAcceptedPath("C:\\Music\\song.mp3 "));
  EXPECT_FALSE(IsAcceptedPath("C:\\Music\\song.mp"));
  EXPECT_FALSE(IsAcceptedPath("C:\\Music\\song.wav"));
  EXPECT_FALSE(IsAcceptedPath("mp3"));
  EXPECT_FALSE(IsAcceptedPath(""));
}

TEST(EditorTitle, ProposesTheFileNameCutToTheTitleBox) {
  EXPECT_EQ(ProposedTitle("C:\\Music\\Some Song.mp3"), "Some Song");
  EXPECT_EQ(ProposedTitle("C:\\a.b\\c.d.mp3"), "c.d");
  EXPECT_EQ(ProposedTitle("C:\\Music\\0123456789012345678901234567890123456789.mp3"),
            "012345678901234567890123456789");
  // Thirty characters, not bytes: a two-byte character is kept whole.
  std::string name;
  for (int i = 0; i < 35; ++i) name += "\xC3\xA9";
  const std::string title = ProposedTitle("C:\\" + name + ".mp3");
  EXPECT_EQ(title.size(), 60u);
  EXPECT_EQ(title, name.substr(0, 60));
}

TEST(EditorPreferences, OnlyOneTicksTheBox) {
  EXPECT_TRUE(PreferenceChecked("1"));
  EXPECT_TRUE(PreferenceChecked(" 1 "));
  for (const char* other : {"0", "", " ", "yes", "2", "-1", "1x", "01a"})
    EXPECT_FALSE(PreferenceChecked(other)) << other;
  EXPECT_EQ(PreferenceText(true), "1");
  EXPECT_EQ(PreferenceText(false), "0");
}

class EditorSave : public ::testing::Test {
protected:
  test::ScratchDir dir;
  const CodePage cp = CodePage::SystemDefault();

  std::string Untagged(std::string_view name) {
    const std::string path = dir.File(name);
    test::WriteAll(path, test::Repeat(0x55, 600));
    return path;
  }
  // A tagged file whose record is written byte by byte, so that it can hold
  // what the editor itself would not write.
  std::string Tagged(std::string_view name, std::uint8_t genre_byte,
                     std::optional<std::uint8_t> track) {
    TagFields tag;
    tag.marker = "TAG";
    tag.title = "Old Title";
    tag.artist = "Old Artist";
    tag.album = "Old Album";
    tag.year = "1999";
    tag.comment = "Old comment";
    tag.genre_byte = genre_byte;
    tag.track = track;
    const TagRecord rec = RenderTagRecord(tag, cp);
    const std::string path = dir.File(name);
    test::WriteAll(path, test::Concat({test::Repeat(0x55, 600), Bytes(rec.begin(), rec.end())}));
    return path;
  }
  // What the window does: show the loaded tag, let the user change the
  // inputs, save.
  Bytes SaveAfter(const std::string& path, const std::function<void(TagInputs&)>& edit) {
    const TagFields loaded = ReadTag(path, cp);
    TagInputs inputs = ShownInputs(loaded, path);
    const int loaded_index = inputs.genre_index;
    inputs.genre_text = GenreName(static_cast<std::int16_t>(inputs.genre_index));
    edit(inputs);
    EXPECT_TRUE(WriteTag(path, FieldsToSave(inputs, loaded, loaded_index), cp));
    return test::ReadAll(path);
  }
};

TEST_F(EditorSave, KeepsANamelessGenreByteAndTheTrackWhenLeftAlone) {
  const Bytes saved = SaveAfter(Tagged("g.mp3", 255, std::uint8_t{7}),
                                [](TagInputs& in) { in.text[kTitle] = "New Title"; });
  ASSERT_EQ(saved.size(), 728u);
  EXPECT_EQ(saved[600 + record::kGenreOffset], 255);
  EXPECT_EQ(saved[600 + record::kTrackOffset], 7);
  EXPECT_EQ(saved[600 + record::kV11ZeroOffset], 0);
  const TagFields back = ReadTag(dir.File("g.mp3"), cp);
  EXPECT_EQ(back.title, "New Title");
  EXPECT_EQ(back.comment, "Old comment");
}

TEST_F(EditorSave, WritesTheChosenGenreWhenTheUserPicksOne) {
  const Bytes saved = SaveAfter(Tagged("g.mp3", 200, std::nullopt), [](TagInputs& in) {
    in.genre_index = 17;
    in.genre_text = GenreName(17);
  });
  EXPECT_EQ(saved[600 + record::kGenreOffset], 17);
  // Choosing the entry the load showed ("Blues") is a choice too only when
  // the list was moved; left alone, the nameless byte stays.
  const Bytes kept = SaveAfter(Tagged("h.mp3", 200, std::nullopt), [](TagInputs&) {});
  EXPECT_EQ(kept[600 + record::kGenreOffset], 200);
}

TEST_F(EditorSave, ChecksComeInTheirOrder) {
  const std::string present = Untagged("here.mp3");
  const std::string missing = dir.File("gone.mp3");
  // The genre comes first, even with no file open.
  EXPECT_EQ(SaveRefusal(false, "")->text, "Please select a genre!");
  EXPECT_EQ(SaveRefusal(false, present)->text, "Please select a genre!");
  EXPECT_EQ(SaveRefusal(true, "")->text, "No file open!");
  const auto gone = SaveRefusal(true, missing);
  EXPECT_EQ(gone->text, "Error saving data!");
  EXPECT_EQ(gone->icon, Icon::Critical);
  EXPECT_FALSE(SaveRefusal(true, present).has_value());
  // A folder is no file.
  EXPECT_EQ(SaveRefusal(true, test::U8(dir.Path()))->text, "Error saving data!");

  EXPECT_EQ(DeleteRefusal("")->icon, Icon::Exclamation);
  EXPECT_EQ(DeleteRefusal(missing)->text, "Error saving data!");
  EXPECT_FALSE(DeleteRefusal(present).has_value());
}

TEST(EditorPanel, MpegVersionInTheUsersDecimals) {
  EXPECT_EQ(mpeg::MpegVersionText(1.0f, "."), "1");
  EXPECT_EQ(mpeg::MpegVersionText(2.0f, ","), "2");
  EXPECT_EQ(mpeg::MpegVersionText(2.5f, "."), "2.5");
  EXPECT_EQ(mpeg::MpegVersionText(2.5f, ","), "2,5");
  EXPECT_EQ(mpeg::MpegVersionText(0.0f, "."), "0");
}

// A file without a single frame: empty audio values, but its real size.
TEST(EditorPanel, FileWithoutAudioShowsItsOwnSize) {
  test::ScratchDir dir;
  const std::string path = dir.File("junk.mp3");
  test::WriteAll(path, test::Repeat(0x20, 4096));
  clsMP3Info info;
  ASSERT_FALSE(info.LoadMP3(path));
  const auto values = AudioValues(info, 4096, ".");
  EXPECT_EQ(values[0], "0");
  EXPECT_EQ(values[2], "");
  EXPECT_EQ(values[5], FormatFileSize(4096));
  EXPECT_NE(values[5], FormatFileSize(0));
}

} // namespace
} // namespace id3::form
