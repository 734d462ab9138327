// What the editor decides without its window, natively and under Wine: the
// argument text, the proposed title, the preferences and box limits, the
// record a save writes over real files, the messages and their order, the
// texts of the caption, the About box and the panel.
#include "editor/form_model.h"

#include "mpeginfo/frame_header.h"
#include "mpeginfo/mp3info.h"
#include "tagstore/genres.h"
#include "tools/paths.h"

#include "testfs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace id3::form {
namespace {

TEST(EditorForm, CleansTheArgumentTextAndProposesATitle) {
  // The play option only as a whole word after a blank, in any case.
  for (const auto& [text, path, no_play] :
       {std::tuple{"\"C:\\My Music\\a b.mp3\" -noplay", "C:\\My Music\\a b.mp3", true},
        {"\"C:\\a.mp3\" -NoPlay", "C:\\a.mp3", true},
        {"\"C:\\Live -noplay set.mp3\"", "C:\\Live -noplay set.mp3", false},
        {"C:\\x -noplay\\\"y\".mp3 -NOPLAY", "C:\\x -noplay\\y.mp3", true},
        {"C:\\My Music\\a b.mp3", "C:\\My Music\\a b.mp3", false},
        {"-noplay", "-noplay", false}}) {
    EXPECT_EQ(CleanArgument(text).path, path) << text;
    EXPECT_EQ(CleanArgument(text).no_play, no_play) << text;
  }
  EXPECT_EQ(ProposedTitle("C:\\a.b\\Some Song.mp3"), "Some Song");
  EXPECT_EQ(ProposedTitle("C:\\0123456789012345678901234567890123456789.mp3"),
            "012345678901234567890123456789");
  // Thirty characters, not bytes: a two-byte character is kept whole.
  std::string name;
  for (int i = 0; i < 35; ++i) name += "\xC3\xA9";
  EXPECT_EQ(ProposedTitle("C:\\" + name + ".mp3"), name.substr(0, 60));
}

TEST(EditorForm, PreferencesAndBoxLimits) {
  for (const char* checked : {"1", " 1 "}) EXPECT_TRUE(PreferenceChecked(checked));
  for (const char* other : {"0", "", " ", "yes", "2", "-1", "1x", "01a"})
    EXPECT_FALSE(PreferenceChecked(other)) << other;
  EXPECT_EQ(PreferenceText(true) + PreferenceText(false), "10");
  TagFields with_track;
  with_track.track = 3;
  const std::size_t plain[] = {30, 30, 30, 30, 4}, tracked[] = {30, 30, 28, 30, 4};
  for (std::size_t box = 0; box < kTextCount; ++box) {
    EXPECT_EQ(TextLimit(TextIndex(box), {}), plain[box]) << box;
    EXPECT_EQ(TextLimit(TextIndex(box), with_track), tracked[box]) << box;
  }
}

// A tagged file whose genre byte has no name (shown as "Blues"), with a track,
// saved as the window does: the inputs shown, then changed by the user.
TEST(EditorForm, ASaveKeepsWhatTheUserLeftAloneAndWritesAGenreChosen) {
  test::ScratchDir dir;
  const std::string path = dir.File("tagged.mp3");
  TagFields old;
  old.comment = "Old comment";
  old.genre_byte = 255;
  old.track = 7;
  const TagRecord rec = RenderTagRecord(old, CodePage::Windows1252());
  test::WriteAll(path,
                 test::Concat({test::Repeat(0x55, 600), test::Bytes(rec.begin(), rec.end())}));
  const auto save = [&](bool chosen, const std::string& genre) {
    const TagFields loaded = ReadTag(path, CodePage::Windows1252());
    TagInputs inputs = ShownInputs(loaded, path);
    inputs.text[kTitle] = "New Title";
    if (chosen) inputs.genre_chosen = true;
    inputs.genre_text = genre;
    EXPECT_TRUE(WriteTag(path, FieldsToSave(inputs, loaded), CodePage::Windows1252()));
    const test::Bytes saved = test::ReadAll(path);
    EXPECT_EQ(saved[600 + record::kTrackOffset], 7);
    return int(saved[600 + record::kGenreOffset]);
  };
  EXPECT_EQ(save(false, "Blues"), 255);
  EXPECT_EQ(save(true, "Blues"), 0);
  EXPECT_EQ(save(true, "Rock"), 17);
  EXPECT_EQ(save(false, "Blues"), 17);
  EXPECT_EQ(ReadTag(path, CodePage::Windows1252()).title, "New Title");
  EXPECT_EQ(ReadTag(path, CodePage::Windows1252()).comment, "Old comment");

  // A file that another program changed since the load is left alone.
  const test::Bytes original = test::ReadAll(path);
  for (std::uint64_t length : {727u, 600u, 729u}) {
    std::filesystem::resize_file(test::FromU8(path), length);
    const test::Bytes before = test::ReadAll(path);
    EXPECT_EQ(TryWriteTag(path, old, CodePage::Windows1252(), 728).error(), TagError::Changed);
    EXPECT_EQ(TryRemoveTag(path, 728).error(), TagError::Changed);
    EXPECT_EQ(test::ReadAll(path), before) << length;
  }
  test::WriteAll(path, original);
  EXPECT_TRUE(TryWriteTag(path, old, CodePage::Windows1252(), 728).has_value());
  EXPECT_TRUE(TryRemoveTag(path, 728).has_value());
  EXPECT_EQ(test::ReadAll(path).size(), 600u);
}

TEST(EditorForm, ChecksComeInTheirOrderAndFailuresSayWhy) {
  test::ScratchDir dir;
  const std::string present = dir.File("here.mp3"), missing = dir.File("gone.mp3");
  test::WriteAll(present, test::Repeat(0x55, 600));
  const std::string_view gone = SaveFailure(TagError::NotFound).text;
  // The genre comes first, even with no file open; a folder is no file.
  EXPECT_EQ(SaveRefusal(false, "")->text, "Please select a genre!");
  EXPECT_EQ(SaveRefusal(false, present)->text, "Please select a genre!");
  EXPECT_EQ(SaveRefusal(true, "")->text, "No file open!");
  EXPECT_EQ(SaveRefusal(true, missing)->text, gone);
  EXPECT_EQ(SaveRefusal(true, test::U8(dir.Path()))->text, gone);
  EXPECT_FALSE(SaveRefusal(true, present));
  EXPECT_EQ(DeleteRefusal("")->icon, Icon::Exclamation);
  EXPECT_EQ(DeleteRefusal(missing)->text, gone);
  EXPECT_FALSE(DeleteRefusal(present));
  for (const auto& [error, reason] :
       {std::pair{TagError::AccessDenied, "The file is read-only."},
        {TagError::InUse, "The file is in use by another program."},
        {TagError::NoSpace, "The disk is full."},
        {TagError::NotFound, "The file has been removed or moved."},
        {TagError::IsDirectory, "The file has been removed or moved."},
        {TagError::TooShort, "The file was shortened or changed since it was loaded."},
        {TagError::Changed, "The file was shortened or changed since it was loaded."},
        {TagError::OnlyTag, "The file holds nothing but the tag."},
        {TagError::IoError, "The disk reported an error."}}) {
    const Message message = SaveFailure(error);
    EXPECT_EQ(message.text, "Error saving data!\r\n" + std::string(reason));
    EXPECT_EQ(message.caption, kAppTitle);
    EXPECT_EQ(message.icon, Icon::Critical);
    EXPECT_EQ(message.buttons, Buttons::Ok);
  }
}

TEST(EditorForm, CaptionAboutAndPanel) {
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
       {std::tuple{1.0f, ".", "1"}, {2.5f, ".", "2.5"}, {2.5f, ",", "2,5"}})
    EXPECT_EQ(mpeg::MpegVersionText(version, separator), text);
  // A file without a single frame: empty audio values, but its real size.
  test::ScratchDir dir;
  test::WriteAll(dir.File("junk.mp3"), test::Repeat(0x20, 4096));
  clsMP3Info info;
  ASSERT_FALSE(info.LoadMP3(dir.File("junk.mp3")));
  const auto values = AudioValues(info, 4096, ".");
  EXPECT_EQ(values[0] + values[2] + values[7], "00");
  EXPECT_EQ(values[5], FormatFileSize(4096));
}

} // namespace
} // namespace id3::form
