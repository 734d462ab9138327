// The real editor program under Wine: started with a file, driven through its
// window, its files checked on disk byte for byte.
#include "driver_win32.h"

#include "editor/form1_controls.h"
#include "editor/form_model.h"
#include "tagstore/tag.h"
#include "tools/paths.h"
#include "tools/wintext_win32.h"
#include "version.h"

#include "testfs.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

namespace id3::test {
namespace {

using namespace form1;
namespace fs = std::filesystem;

constexpr int kText[] = {kText1, kText1 + 1, kText1 + 2, kText1 + 3, kText1 + 4};
constexpr wchar_t kTitle[] = L"Quelmo ID3TAG EDITOR";

std::wstring Quoted(const std::string& path) { return L"\"" + win::Widen(path) + L"\""; }
int Twips(int twips, int dpi) { return MulDiv(twips, dpi, 1440); }

struct Box {
  std::wstring text;
  std::wstring caption;
  BoxIcon icon;
  bool has_cancel = false;
};

// Answering a box with the Esc key instead of a button.
constexpr int kEsc = IDCANCEL + 1000;

// Waits for the program's message box, checks what it says, and answers it.
void ExpectBox(Editor& editor, const Box& expected, int answer = IDOK) {
  const auto box = editor.WaitForMessageBox();
  ASSERT_TRUE(box.has_value()) << "no message box";
  EXPECT_EQ(box->text, expected.text);
  EXPECT_EQ(box->caption, expected.caption);
  EXPECT_EQ(box->icon, expected.icon);
  EXPECT_EQ(box->has_cancel, expected.has_cancel);
  if (answer == kEsc)
    editor.AnswerWithEsc(*box);
  else
    editor.Answer(*box, answer);
}

class EditorWindow : public ScratchTest {
protected:
  // No window manager runs on the test display: Wine would wait two seconds
  // for one at every window it hides, unless its windows are unmanaged.
  static void SetUpTestSuite() {
    RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Wine\\X11 Driver", L"Managed", REG_SZ, L"N",
                    2 * sizeof(wchar_t));
  }
  void SetUp() override { WritePreferences(L"1", L"0"); }

  const Bytes sample = ReadAll(SampleFile("sample.mp3"));
  const Bytes audio{sample.begin(), sample.end() - 128};

  std::string WithRecord(std::string_view name, const TagFields& tag) {
    const TagRecord rec = RenderTagRecord(tag, CodePage::SystemDefault());
    return Make(name, Concat({audio, Bytes(rec.begin(), rec.end())}));
  }
  static TagFields Fields(std::string title, std::uint8_t genre_byte,
                          std::optional<std::uint8_t> track) {
    TagFields tag;
    tag.marker = "TAG";
    tag.title = std::move(title);
    tag.artist = "An Artist";
    tag.album = "An Album";
    tag.year = "1998";
    tag.comment = "A note";
    tag.genre_byte = genre_byte;
    tag.track = track;
    return tag;
  }
};

TEST_F(EditorWindow, ShowsATaggedFileInItsLayout) {
  const std::string path = Make("Tagged.mp3", sample);
  Editor editor(Quoted(path));
  ASSERT_TRUE(editor.WaitReady());
  wchar_t caption[64] = {};
  GetWindowTextW(editor.Window(), caption, 64);
  EXPECT_EQ(caption, L"Quelmo ID3TAG EDITOR v" + win::Widen(ID3_VERSION_TEXT));

  EXPECT_EQ(editor.Text(kText[0]), L"Generated Sounds");
  EXPECT_EQ(editor.Text(kText[1]), L"Test Signal");
  EXPECT_EQ(editor.GenreText(), L"Ambient");
  EXPECT_EQ(editor.Text(kText[2]), L"made by make-sample");
  EXPECT_EQ(editor.Text(kText[3]), L"Sample Chord");
  EXPECT_EQ(editor.Text(kText[4]), L"2026");
  // The start-up timer left the album box focused with its text selected.
  const auto sel = SendMessageW(editor.Control(kText[0]), EM_GETSEL, 0, 0);
  EXPECT_EQ(LOWORD(sel), 0);
  EXPECT_EQ(HIWORD(sel), 16);

  const std::wstring values[] = {
      L"128",          L"None", L"0:05",
      L"44100",        L"3",    win::Widen(FormatFileSize(static_cast<double>(sample.size()))),
      L"Joint stereo", L"1"};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(editor.Text(kLabel3 + 1 + i), values[i]) << i;

  for (int i = 0; i < 5; ++i)
    EXPECT_EQ(SendMessageW(editor.Control(kText[i]), EM_GETLIMITTEXT, 0, 0), i == 4 ? 4 : 30);
  EXPECT_EQ(SendMessageW(editor.Control(kCombo1), CB_GETCOUNT, 0, 0), 126);
  const std::pair<int, const wchar_t*> texts[] = {{kCommand2, L"&Ok"},
                                                  {kCommand1, L"&Cancel"},
                                                  {kCommand3, L"&Delete tag"},
                                                  {kCommand4, L"..."},
                                                  {kFrame1Box, L"MP3 TAG"},
                                                  {kFrame2Box, L"File information"},
                                                  {kLabel1, L"Album:"},
                                                  {kLabel1 + 5, L"Year:"},
                                                  {kLabel2 + 8, L"Mpeg version:"},
                                                  {kCheck1, L"Disable window animations."},
                                                  {kCheck2, L"Hide file information"}};
  for (const auto& [id, text] : texts) EXPECT_EQ(editor.Text(id), text);

  // Twips at the screen's real resolution.
  const int dpi_x = ScreenDpiX();
  const int dpi_y = ScreenDpiY();
  EXPECT_EQ(editor.ClientWidth(), Twips(4515, dpi_x));
  EXPECT_EQ(editor.OuterSize().cy, Twips(7560, dpi_y));
  RECT ok{};
  GetWindowRect(editor.Control(kCommand2), &ok);
  EXPECT_EQ(ok.right - ok.left, Twips(1185, dpi_x));
  EXPECT_EQ(ok.bottom - ok.top, Twips(345, dpi_y));

  editor.Key(VK_ESCAPE);
  ASSERT_TRUE(editor.WaitForExit());
  EXPECT_EQ(editor.ExitCode(), 0u);
  EXPECT_EQ(ReadAll(path), sample);
}

// The screen's resolution of the prefix, set for the test and put back after.
class ScreenResolution {
public:
  explicit ScreenResolution(DWORD dpi) {
    DWORD bytes = sizeof(previous_);
    had_ = RegGetValueW(HKEY_CURRENT_USER, kKey, L"LogPixels", RRF_RT_REG_DWORD, nullptr,
                        &previous_, &bytes) == ERROR_SUCCESS;
    Set(dpi);
  }
  ~ScreenResolution() {
    if (had_)
      Set(previous_);
    else
      RegDeleteKeyValueW(HKEY_CURRENT_USER, kKey, L"LogPixels");
  }
  ScreenResolution(const ScreenResolution&) = delete;
  ScreenResolution& operator=(const ScreenResolution&) = delete;

private:
  static constexpr wchar_t kKey[] = L"Control Panel\\Desktop";
  static void Set(DWORD dpi) {
    RegSetKeyValueW(HKEY_CURRENT_USER, kKey, L"LogPixels", REG_DWORD, &dpi, sizeof(dpi));
  }
  bool had_ = false;
  DWORD previous_ = 0;
};

TEST_F(EditorWindow, ScalesWithTheScreenResolution) {
  const std::string path = Make("dpi.mp3", sample);
  for (int dpi : {120, 144}) {
    const ScreenResolution resolution(static_cast<DWORD>(dpi));
    Editor editor(Quoted(path));
    ASSERT_TRUE(editor.WaitReady());
    EXPECT_EQ(editor.ClientWidth(), Twips(4515, dpi)) << dpi;
    EXPECT_EQ(editor.OuterSize().cy, Twips(7560, dpi)) << dpi;
    RECT ok{};
    GetWindowRect(editor.Control(kCommand2), &ok);
    EXPECT_EQ(ok.right - ok.left, Twips(1185, dpi)) << dpi;
    editor.Click(kCheck2).get();
    EXPECT_EQ(editor.OuterSize().cy, Twips(5250, dpi)) << dpi;
    editor.Click(kCheck2).get();
  }
}

TEST(EditorProgram, CarriesItsVersionManifestAndIcon) {
  const std::wstring exe = EditorExe();
  std::vector<BYTE> info(GetFileVersionInfoSizeW(exe.c_str(), nullptr));
  ASSERT_FALSE(info.empty());
  ASSERT_TRUE(GetFileVersionInfoW(exe.c_str(), 0, static_cast<DWORD>(info.size()), info.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT size = 0;
  ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &size));
  EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(0, 1));
  EXPECT_EQ(fixed->dwFileVersionLS, MAKELONG(0, 14));

  HMODULE image = LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(image, nullptr);
  HRSRC manifest = FindResourceW(image, MAKEINTRESOURCEW(1), RT_MANIFEST);
  ASSERT_NE(manifest, nullptr);
  const std::string text(static_cast<const char*>(LockResource(LoadResource(image, manifest))),
                         SizeofResource(image, manifest));
  EXPECT_NE(text.find("Microsoft.Windows.Common-Controls"), std::string::npos);
  EXPECT_NE(text.find("version=\"6.0.0.0\""), std::string::npos);
  EXPECT_NE(text.find("<dpiAware"), std::string::npos);
  // The icon group: one 16 x 16 image of 16 colours.
  HRSRC group = FindResourceW(image, MAKEINTRESOURCEW(1), RT_GROUP_ICON);
  ASSERT_NE(group, nullptr);
  const auto* dir = static_cast<const BYTE*>(LockResource(LoadResource(image, group)));
  EXPECT_EQ(dir[4], 1);     // one image
  EXPECT_EQ(dir[6], 16);    // width
  EXPECT_EQ(dir[7], 16);    // height
  EXPECT_EQ(dir[8], 16);    // colours
  EXPECT_EQ(dir[6 + 6], 4); // bits per pixel
  FreeLibrary(image);
}

TEST_F(EditorWindow, ProposesTheFileNameAndBluesWhenTheTagLacksThem) {
  {
    Editor editor(Quoted(Make("No Tag Here.MP3", audio)));
    ASSERT_TRUE(editor.WaitReady());
    for (int i : {0, 1, 2, 4}) EXPECT_EQ(editor.Text(kText[i]), L"") << i;
    EXPECT_EQ(editor.Text(kText[3]), L"No Tag Here");
    EXPECT_EQ(editor.GenreText(), L"Blues");
  }
  {
    Editor editor(Quoted(WithRecord("Only Others.mp3", Fields("", 17, std::nullopt))));
    ASSERT_TRUE(editor.WaitReady());
    EXPECT_EQ(editor.Text(kText[3]), L"Only Others");
    EXPECT_EQ(editor.Text(kText[1]), L"An Artist");
    EXPECT_EQ(editor.GenreText(), L"Rock");
  }
}

TEST_F(EditorWindow, RefusedPathWarnsBeforeTheWindowAndLeavesNoFileOpen) {
  Editor editor(Quoted(Make("song.wav", audio)));
  const auto box = editor.WaitForMessageBox();
  ASSERT_TRUE(box.has_value());
  EXPECT_FALSE(editor.WindowShown());
  EXPECT_EQ(box->text, L"Invalid file!");
  EXPECT_EQ(box->caption, L"Error!");
  EXPECT_EQ(box->icon, BoxIcon::Exclamation);
  editor.Answer(*box, IDOK);
  ASSERT_TRUE(editor.WaitReady());
  EXPECT_EQ(editor.Text(kLabel3), L"No file open.");
  EXPECT_EQ(editor.GenreIndex(), -1);
  for (int id : kText) EXPECT_EQ(editor.Text(id), L"");

  // With no genre and no file, the genre check comes first.
  auto save = editor.Click(kCommand2);
  ExpectBox(editor, {L"Please select a genre!", kTitle, BoxIcon::Exclamation});
  save.get();
  auto remove = editor.Click(kCommand3);
  ExpectBox(editor, {L"No file open!", kTitle, BoxIcon::Exclamation});
  remove.get();
  editor.Click(kCommand4).get();
  EXPECT_FALSE(editor.HasMessageBox());
  EXPECT_TRUE(editor.Running());
}

TEST_F(EditorWindow, NoArgumentOpensAnEmptyWindow) {
  Editor editor(L"");
  ASSERT_TRUE(editor.WaitReady());
  EXPECT_EQ(editor.GenreIndex(), -1);
  EXPECT_EQ(editor.Text(kLabel3), L"");
  auto save = editor.Click(kCommand2);
  ExpectBox(editor, {L"Please select a genre!", kTitle, BoxIcon::Exclamation});
  save.get();
}

TEST_F(EditorWindow, MissingOrVanishedFileIsNotSaved) {
  const std::string missing = dir.File("missing.mp3");
  Editor editor(Quoted(missing));
  ASSERT_TRUE(editor.WaitReady());
  EXPECT_EQ(editor.Text(kText[3]), L"missing");
  EXPECT_EQ(editor.GenreText(), L"Blues");
  const std::wstring empty_values[] = {L"0", L"", L"", L"0", L"0", win::Widen(FormatFileSize(0)),
                                       L"",  L"0"};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(editor.Text(kLabel3 + 1 + i), empty_values[i]) << i;
  for (int command : {kCommand2, kCommand3}) {
    auto click = editor.Click(command);
    ExpectBox(editor, {L"Error saving data!", kTitle, BoxIcon::Critical});
    click.get();
  }
  EXPECT_FALSE(fs::exists(FromU8(missing)));

  const std::string vanishing = Make("vanishing.mp3", sample);
  Editor second(Quoted(vanishing));
  ASSERT_TRUE(second.WaitReady());
  fs::remove(FromU8(vanishing));
  auto save = second.Click(kCommand2);
  ExpectBox(second, {L"Error saving data!", kTitle, BoxIcon::Critical});
  save.get();
  EXPECT_TRUE(second.Running());
  EXPECT_FALSE(fs::exists(FromU8(vanishing)));
}

TEST_F(EditorWindow, SaveWritesTheInputsAndCloses) {
  const std::string path = Make("Save Me.mp3", sample);
  Editor editor(Quoted(path) + L" -noplay");
  ASSERT_TRUE(editor.WaitReady());
  EXPECT_FALSE(IsWindowEnabled(editor.Control(kCommand4)));
  const wchar_t* typed[] = {L"New Album", L"New Artist", L"New note", L"New Title", L"ab12"};
  for (int i = 0; i < 5; ++i) editor.SetText(kText[i], typed[i]);
  SendMessageW(editor.Control(kCombo1), CB_SETCURSEL, 17, 0);
  editor.Click(kCommand2).get();
  ASSERT_TRUE(editor.WaitForExit());

  const Bytes saved = ReadAll(path);
  ASSERT_EQ(saved.size(), sample.size());
  EXPECT_TRUE(std::equal(audio.begin(), audio.end(), saved.begin()));
  const TagFields tag = ReadTag(path);
  EXPECT_EQ(tag.album, "New Album");
  EXPECT_EQ(tag.artist, "New Artist");
  EXPECT_EQ(tag.comment, "New note");
  EXPECT_EQ(tag.title, "New Title");
  EXPECT_EQ(tag.year, "ab12");
  EXPECT_EQ(tag.genre, "Rock");
}

TEST_F(EditorWindow, SaveKeepsANamelessGenreAndTheTrackNumber) {
  const std::string path = WithRecord("kept.mp3", Fields("Before", 255, std::uint8_t{9}));
  Editor editor(Quoted(path));
  ASSERT_TRUE(editor.WaitReady());
  EXPECT_EQ(editor.GenreText(), L"Blues");
  EXPECT_EQ(SendMessageW(editor.Control(kText[2]), EM_GETLIMITTEXT, 0, 0), 28);
  editor.SetText(kText[3], L"After");
  editor.Click(kCommand2).get();
  ASSERT_TRUE(editor.WaitForExit());
  const Bytes saved = ReadAll(path);
  ASSERT_EQ(saved.size(), sample.size());
  EXPECT_EQ(saved[saved.size() - 1], 255);
  EXPECT_EQ(saved[saved.size() - 2], 9);
  EXPECT_EQ(ReadTag(path).title, "After");
}

TEST_F(EditorWindow, NamesOutsideTheAnsiCodePageLoadAndSave) {
  const std::string path = Make("Gr\xC3\xBC\xC3\x9F\x65 \xE6\x97\xA5\xE6\x9C\xAC.mp3", audio);
  Editor editor(Quoted(path));
  ASSERT_TRUE(editor.WaitReady());
  EXPECT_EQ(editor.Text(kText[3]), L"Gr\u00FC\u00DFe \u65E5\u672C");
  EXPECT_EQ(editor.Text(kLabel3 + 1), L"128");
  editor.Click(kCommand2).get();
  ASSERT_TRUE(editor.WaitForExit());
  EXPECT_EQ(ReadAll(path).size(), audio.size() + 128);
  EXPECT_EQ(ReadTag(path).title.substr(0, 7), "Gr\xC3\xBC\xC3\x9F\x65");
}

TEST_F(EditorWindow, SaveToAFileInUseShowsNothingAndChangesNothing) {
  // Root ignores a read-only attribute under Wine; a file another program
  // holds open without sharing cannot be written by anyone.
  const std::string path = Make("busy.mp3", sample);
  Editor editor(Quoted(path));
  ASSERT_TRUE(editor.WaitReady());
  editor.SetText(kText[3], L"Never written");
  HANDLE held = CreateFileW(win::Widen(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  editor.Click(kCommand2).get();
  EXPECT_FALSE(editor.HasMessageBox());
  EXPECT_TRUE(editor.Running());
  EXPECT_EQ(editor.Text(kText[3]), L"Never written");
  CloseHandle(held);
  EXPECT_EQ(ReadAll(path), sample);
}

TEST_F(EditorWindow, DeleteAsksAndRemovesOnlyOnOk) {
  const std::string path = Make("delete.mp3", sample);
  Editor editor(Quoted(path));
  ASSERT_TRUE(editor.WaitReady());
  const Box ask{L"Delete?", kTitle, BoxIcon::Critical, true};
  for (int answer : {IDCANCEL, kEsc}) {
    auto click = editor.Click(kCommand3);
    ExpectBox(editor, ask, answer);
    click.get();
    EXPECT_TRUE(editor.Running());
    EXPECT_EQ(ReadAll(path), sample);
  }
  auto click = editor.Click(kCommand3);
  ExpectBox(editor, ask, IDOK);
  click.get();
  ASSERT_TRUE(editor.WaitForExit());
  EXPECT_EQ(ReadAll(path), audio);
}

TEST_F(EditorWindow, CancelAfterEditsWritesNothing) {
  const std::string path = Make("cancel.mp3", sample);
  Editor editor(Quoted(path));
  ASSERT_TRUE(editor.WaitReady());
  editor.SetText(kText[0], L"Edited");
  SendMessageW(editor.Control(kCombo1), CB_SETCURSEL, 3, 0);
  editor.Click(kCommand1).get();
  ASSERT_TRUE(editor.WaitForExit());
  EXPECT_EQ(ReadAll(path), sample);
}

TEST_F(EditorWindow, AboutShowsTheProductAndStaysOpen) {
  Editor editor(Quoted(Make("about.mp3", sample)));
  ASSERT_TRUE(editor.WaitReady());
  PostMessageW(editor.Window(), WM_COMMAND, kMnuAbout, 0);
  const auto box = editor.WaitForMessageBox();
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->text, win::Widen(form::AboutText(
                           {ID3_VERSION_MAJOR, ID3_VERSION_MINOR, ID3_VERSION_REVISION})));
  EXPECT_EQ(box->caption, kTitle);
  EXPECT_EQ(box->icon, BoxIcon::Information);
  editor.Answer(*box, IDOK);
  EXPECT_TRUE(editor.Running());
}

// The association is the prefix's own, set for the test and put back after.
class Mp3Association {
public:
  explicit Mp3Association(const std::wstring& command) {
    had_class_ = Read(L".mp3", previous_class_);
    Write(L".mp3", L"Id3EditorTest.Player");
    Write(L"Id3EditorTest.Player\\shell\\open\\command", command);
  }
  ~Mp3Association() {
    if (had_class_)
      Write(L".mp3", previous_class_);
    else
      RegDeleteTreeW(HKEY_CLASSES_ROOT, L".mp3");
    RegDeleteTreeW(HKEY_CLASSES_ROOT, L"Id3EditorTest.Player");
  }
  Mp3Association(const Mp3Association&) = delete;
  Mp3Association& operator=(const Mp3Association&) = delete;

private:
  static bool Read(const wchar_t* key, std::wstring& value) {
    wchar_t text[256] = {};
    DWORD bytes = sizeof(text);
    if (RegGetValueW(HKEY_CLASSES_ROOT, key, nullptr, RRF_RT_REG_SZ, nullptr, text, &bytes) !=
        ERROR_SUCCESS)
      return false;
    value = text;
    return true;
  }
  static void Write(const wchar_t* key, const std::wstring& value) {
    RegSetKeyValueW(HKEY_CLASSES_ROOT, key, nullptr, REG_SZ, value.c_str(),
                    static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  }
  bool had_class_ = false;
  std::wstring previous_class_;
};

TEST_F(EditorWindow, PlayOpensTheFileWithTheAssociatedProgram) {
  const Mp3Association association(L"\"" + ArgRecorderExe() + L"\" \"%1\"");
  const std::string record = dir.File("record.txt");
  SetEnvironmentVariableW(L"ID3_ARG_RECORD", win::Widen(record).c_str());
  const std::string path = Make("play me.mp3", sample);
  Editor editor(Quoted(path));
  ASSERT_TRUE(editor.WaitReady());
  editor.Click(kCommand4).get();
  EXPECT_FALSE(editor.HasMessageBox());
  EXPECT_TRUE(editor.Running());
  std::string received;
  for (int i = 0; i < 2000 && received.find('\n') == std::string::npos; ++i) {
    Sleep(10);
    std::ifstream in(FromU8(record), std::ios::binary);
    received.assign(std::istreambuf_iterator<char>(in), {});
  }
  SetEnvironmentVariableW(L"ID3_ARG_RECORD", nullptr);
  EXPECT_NE(received.find(path), std::string::npos) << received;
}

TEST_F(EditorWindow, EnterWalksTheInputsAndTabGoesOnToTheButtons) {
  const std::string path = Make("keys.mp3", sample);
  Editor editor(Quoted(path));
  ASSERT_TRUE(editor.WaitReady());
  for (int id :
       std::initializer_list<int>{kText[1], kCombo1, kText[2], kText[3], kText[4], kText[0]}) {
    editor.Key(VK_RETURN);
    ASSERT_TRUE(editor.WaitForFocus(editor.Control(id))) << id;
    if (id != kCombo1) {
      const auto sel = SendMessageW(editor.Control(id), EM_GETSEL, 0, 0);
      EXPECT_EQ(LOWORD(sel), 0);
      EXPECT_EQ(HIWORD(sel), editor.Text(id).size()) << id;
    }
  }
  for (int id :
       std::initializer_list<int>{kText[1], kCombo1, kText[2], kText[3], kText[4], kCommand2,
                                  kCommand1, kCommand3, kCheck2, kCheck1, kCommand4, kText[0]}) {
    editor.Key(VK_TAB);
    ASSERT_TRUE(editor.WaitForFocus(editor.Control(id))) << id;
  }
  EXPECT_EQ(editor.Text(kText[4]), L"2026");
  EXPECT_TRUE(editor.Running());
  EXPECT_EQ(ReadAll(path), sample);
}

TEST_F(EditorWindow, EscClosesFromEveryControlWithoutSaving) {
  const std::string path = Make("esc.mp3", sample);
  const int order[] = {kText[0],  kText[1],  kCombo1,   kText[2], kText[3], kText[4],
                       kCommand2, kCommand1, kCommand3, kCheck2,  kCheck1,  kCommand4};
  for (int tabs = 0; tabs < 12; ++tabs) {
    Editor editor(Quoted(path));
    ASSERT_TRUE(editor.WaitReady());
    editor.SetText(kText[3], L"Not saved");
    for (int i = 1; i <= tabs; ++i) {
      editor.Key(VK_TAB);
      ASSERT_TRUE(editor.WaitForFocus(editor.Control(order[i])));
    }
    editor.Key(VK_ESCAPE);
    ASSERT_TRUE(editor.WaitForExit()) << order[tabs];
    EXPECT_EQ(editor.ExitCode(), 0u);
  }
  EXPECT_EQ(ReadAll(path), sample);
}

TEST_F(EditorWindow, LongPathsAreShortenedInThePanel) {
  const std::string deep_dir = dir.File("a folder with a rather long name/and another long one");
  fs::create_directories(FromU8(deep_dir));
  const std::string deep = deep_dir + "\\the song with the long name.mp3";
  WriteAll(deep, sample);
  Editor editor(Quoted(deep));
  ASSERT_TRUE(editor.WaitReady());
  const std::wstring shown = editor.Text(kLabel3);
  EXPECT_NE(shown.find(L"..."), std::wstring::npos) << win::Narrow(shown);
  EXPECT_LT(shown.size(), win::Widen(deep).size());
  RECT value{};
  GetWindowRect(editor.Control(kLabel3), &value);
  EXPECT_LE(value.right - value.left, Twips(4335 - 450 - 90, ScreenDpiX()));

  const std::string short_path = "C:\\e5-" + std::to_string(GetCurrentProcessId()) + ".mp3";
  WriteAll(short_path, sample);
  {
    Editor nearby(Quoted(short_path));
    ASSERT_TRUE(nearby.WaitReady());
    EXPECT_EQ(nearby.Text(kLabel3), win::Widen(short_path));
  }
  fs::remove(FromU8(short_path));
}

TEST_F(EditorWindow, HidingTheInformationAndBothPreferencesPersist) {
  WritePreferences(std::nullopt, std::nullopt);
  const int dpi = ScreenDpiY();
  const std::string path = Make("prefs.mp3", sample);
  {
    Editor editor(Quoted(path));
    ASSERT_TRUE(editor.WaitReady());
    EXPECT_FALSE(editor.Checked(kCheck1));
    EXPECT_FALSE(editor.Checked(kCheck2));
    const SIZE tall = editor.OuterSize();
    EXPECT_EQ(tall.cy, Twips(7560, dpi));
    editor.Click(kCheck2).get();
    EXPECT_EQ(editor.OuterSize().cy, Twips(5250, dpi));
    EXPECT_EQ(editor.OuterSize().cx, tall.cx);
    editor.Click(kCheck2).get();
    EXPECT_EQ(editor.OuterSize().cy, Twips(7560, dpi));
    editor.Click(kCheck2).get();
    editor.Click(kCheck1).get();
    PostMessageW(editor.Window(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(editor.WaitForExit());
  }
  EXPECT_EQ(ReadPreference(L"NoAnimations"), L"1");
  EXPECT_EQ(ReadPreference(L"NoFileInfo"), L"1");
  {
    Editor editor(Quoted(path));
    ASSERT_TRUE(editor.WaitReady());
    EXPECT_TRUE(editor.Checked(kCheck1));
    EXPECT_TRUE(editor.Checked(kCheck2));
    EXPECT_EQ(editor.OuterSize().cy, Twips(5250, dpi));
    // The bottom panel stays at the bottom edge, over the information frame.
    RECT panel{}, client{};
    GetWindowRect(editor.Control(kPicture1), &panel);
    GetClientRect(editor.Window(), &client);
    POINT corner{client.right, client.bottom};
    ClientToScreen(editor.Window(), &corner);
    EXPECT_EQ(panel.bottom, corner.y);
    editor.Click(kCheck1).get();
    editor.Key(VK_ESCAPE);
    ASSERT_TRUE(editor.WaitForExit());
  }
  EXPECT_EQ(ReadPreference(L"NoAnimations"), L"0");
  EXPECT_EQ(ReadPreference(L"NoFileInfo"), L"1");

  WritePreferences(L"yes", L"2");
  Editor editor(Quoted(path));
  ASSERT_TRUE(editor.WaitReady());
  EXPECT_FALSE(editor.Checked(kCheck1));
  EXPECT_FALSE(editor.Checked(kCheck2));
  EXPECT_EQ(ReadAll(path), sample);
}

} // namespace
} // namespace id3::test
