// The real editor program under Wine, one start per scenario, driven with real
// key presses and clicks; its files checked byte for byte. What the form
// decides is the model's test: here is the wiring.
#include "driver_win32.h"

#include "editor/form1_controls.h"
#include "editor/form_model.h"
#include "tools/paths.h"
#include "tools/wintext_win32.h"
#include "version.h"

#include "testfs.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <filesystem>
#include <fstream>

namespace id3::test {
namespace {

using namespace form1;
namespace fs = std::filesystem;

constexpr int kAlbum = kText1, kArtist = kText1 + 1, kNote = kText1 + 2, kTitle = kText1 + 3;
constexpr wchar_t kPrefs[] = L"Software\\Quelmo ID3TAG EDITOR\\General";

std::wstring Quoted(const std::string& path) { return L"\"" + win::Widen(path) + L"\""; }
int Twips(int twips, int dpi) { return MulDiv(twips, dpi, 1440); }
SIZE SizeOf(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return {r.right - r.left, r.bottom - r.top};
}
bool Dropped(Editor& editor) {
  return SendMessageW(editor.Control(kCombo1), CB_GETDROPPEDSTATE, 0, 0);
}
bool Walk(Editor& editor, UINT vk, int to, UINT modifier = 0) {
  Press(vk, modifier);
  return editor.WaitForFocus(to);
}
std::optional<std::wstring> Pref(const wchar_t* name, std::optional<std::wstring> value = {},
                                 bool set = false) {
  if (set && value)
    RegSetKeyValueW(HKEY_CURRENT_USER, kPrefs, name, REG_SZ, value->c_str(),
                    DWORD(value->size() * 2 + 2));
  else if (set)
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kPrefs, name);
  wchar_t text[64] = {};
  DWORD bytes = sizeof(text);
  if (RegGetValueW(HKEY_CURRENT_USER, kPrefs, name, RRF_RT_REG_SZ, nullptr, text, &bytes))
    return {};
  return text;
}

// Waits for the program's message box, checks it, and answers with a button,
// or with the real Esc key.
void ExpectBox(Editor& editor, std::string_view text, BoxIcon icon, int answer = IDOK,
               const wchar_t* caption = L"Quelmo ID3TAG EDITOR") {
  HWND box = nullptr;
  BoxSeen seen;
  ASSERT_TRUE(WaitUntil([&] {
    return (box = editor.TopLevel(L"#32770")) && !(seen = ReadBox(box)).text.empty() &&
           seen.icon != BoxIcon::Unknown;
  })) << text;
  EXPECT_EQ(seen.text, win::Widen(text));
  EXPECT_EQ(seen.caption, caption);
  EXPECT_EQ(seen.icon, icon);
  if (answer == VK_ESCAPE)
    Press(VK_ESCAPE);
  else
    PostMessageW(GetDlgItem(box, answer), BM_CLICK, 0, 0);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }));
}

void ExpectClickBox(Editor& editor, int id, std::string_view text, BoxIcon icon) {
  auto click = editor.Click(id);
  ExpectBox(editor, text, icon);
  click.get();
}

class EditorWindow : public ScratchTest {
protected:
  // The preferences as the suite found them, put back after it.
  static inline std::optional<std::wstring> animations_, file_info_;
  static void SetUpTestSuite() {
    animations_ = Pref(L"NoAnimations"), file_info_ = Pref(L"NoFileInfo");
  }
  static void TearDownTestSuite() {
    Pref(L"NoAnimations", animations_, true);
    Pref(L"NoFileInfo", file_info_, true);
  }
  void SetUp() override {
    Pref(L"NoAnimations", L"1", true);
    Pref(L"NoFileInfo", L"0", true);
  }

  const Bytes sample = ReadAll(SampleFile("sample.mp3"));
  const Bytes audio{sample.begin(), sample.end() - 128};

  // A tag whose genre byte has no name, shown as "Blues"; with a track.
  std::string Nameless(std::string_view name, std::string title) {
    TagFields tag;
    tag.title = std::move(title);
    tag.genre_byte = 200;
    tag.track = 9;
    const TagRecord rec = RenderTagRecord(tag, CodePage::SystemDefault());
    return Make(name, Concat({audio, Bytes(rec.begin(), rec.end())}));
  }
};

TEST_F(EditorWindow, ShowsAFileAndLaysItselfOutAgainAtANewDpi) {
  Pref(L"NoAnimations", {}, true);
  Pref(L"NoFileInfo", {}, true);
  fs::create_directories(dir.Path() / "a folder with a long name");
  const std::string path = Make("a folder with a long name\\the song with a long name.mp3", sample);
  DWORD dpi = 144, old_dpi = 0, size = sizeof(old_dpi);
  constexpr wchar_t kDesktop[] = L"Control Panel\\Desktop";
  RegGetValueW(HKEY_CURRENT_USER, kDesktop, L"LogPixels", RRF_RT_REG_DWORD, nullptr, &old_dpi,
               &size);
  RegSetKeyValueW(HKEY_CURRENT_USER, kDesktop, L"LogPixels", REG_DWORD, &dpi, sizeof(dpi));
  Editor editor(Quoted(path));
  const bool ready = editor.WaitReady();
  RegSetKeyValueW(HKEY_CURRENT_USER, kDesktop, L"LogPixels", REG_DWORD, &old_dpi, sizeof(old_dpi));
  ASSERT_TRUE(ready);
  EXPECT_EQ(TextOf(editor.Window()), L"Quelmo ID3TAG EDITOR v" + win::Widen(ID3_VERSION_TEXT));
  const std::pair<int, std::wstring> shown[] = {
      {kAlbum, L"Generated Sounds"},
      {kTitle, L"Sample Chord"},
      {kLabel3 + 1, L"128"},
      {kLabel3 + 6, win::Widen(FormatFileSize(double(sample.size())))},
      {kLabel3 + 8, L"1"}};
  for (const auto& [id, text] : shown) EXPECT_EQ(editor.Text(id), text) << id;
  EXPECT_EQ(editor.GenreText(), L"Ambient");
  EXPECT_NE(editor.Text(kLabel3).find(L"..."), std::wstring::npos);
  EXPECT_FALSE(editor.Checked(kCheck1) || editor.Checked(kCheck2));
  MONITORINFO monitor{sizeof(monitor), {}, {}, 0};
  GetMonitorInfoW(MonitorFromWindow(editor.Window(), MONITOR_DEFAULTTONEAREST), &monitor);
  EXPECT_NEAR(Centre(editor.Window()).x, (monitor.rcWork.left + monitor.rcWork.right) / 2, 1);
  EXPECT_NEAR(Centre(editor.Window()).y, (monitor.rcWork.top + monitor.rcWork.bottom) / 2, 1);

  // Twips at the DPI it started with, then at the one it is moved to, in a
  // font made for it.
  const LONG label_at_144 = SizeOf(editor.Control(kLabel1)).cx;
  for (int at : {144, 96}) {
    RECT suggested{0, 0, Twips(4700, at), Twips(7560, at)}, client{};
    if (at == 96)
      SendMessageW(editor.Window(), WM_DPICHANGED, MAKEWPARAM(at, at),
                   editor.Copy(&suggested, sizeof(suggested)));
    GetClientRect(editor.Window(), &client);
    EXPECT_EQ(client.right, Twips(4515, at));
    EXPECT_EQ(SizeOf(editor.Window()).cy, Twips(7560, at));
    EXPECT_EQ(SizeOf(editor.Control(kCommand2)).cx, Twips(1185, at));
    EXPECT_EQ(SizeOf(editor.Control(kCommand2)).cy, Twips(345, at));
    EXPECT_LE(SizeOf(editor.Control(kLabel3)).cx, Twips(4335 - 450 - 90, at));
  }
  EXPECT_LT(SizeOf(editor.Control(kLabel1)).cx * 10, label_at_144 * 8);

  // Hiding the information brings the bottom panel up over it; Cancel
  // closes, storing both preferences.
  editor.Click(kCheck2).get();
  EXPECT_EQ(SizeOf(editor.Window()).cy, Twips(5250, 96));
  POINT bottom{0, SizeOf(editor.Control(kPicture1)).cy};
  ClientToScreen(editor.Control(kPicture1), &bottom);
  RECT client{};
  GetClientRect(editor.Window(), &client);
  MapWindowPoints(editor.Window(), nullptr, reinterpret_cast<POINT*>(&client), 2);
  EXPECT_EQ(bottom.y, client.bottom);
  editor.Click(kCheck1).get();
  editor.Click(kCommand1).get();
  ASSERT_TRUE(editor.WaitForExit());
  EXPECT_EQ(Pref(L"NoAnimations"), L"1");
  EXPECT_EQ(Pref(L"NoFileInfo"), L"1");
  EXPECT_EQ(ReadAll(path), sample);
}

TEST(EditorProgram, CarriesItsVersionManifestAndIcons) {
  std::vector<BYTE> info(GetFileVersionInfoSizeW(ID3EDIT_EXE, nullptr));
  ASSERT_TRUE(GetFileVersionInfoW(ID3EDIT_EXE, 0, DWORD(info.size()), info.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT size = 0;
  ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &size));
  EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(ID3_VERSION_MINOR, ID3_VERSION_MAJOR));
  EXPECT_EQ(fixed->dwFileVersionLS, MAKELONG(0, ID3_VERSION_REVISION));
  HMODULE image = LoadLibraryExW(ID3EDIT_EXE, nullptr, LOAD_LIBRARY_AS_DATAFILE);
  const auto resource = [&](LPCWSTR type) {
    HRSRC found = FindResourceW(image, MAKEINTRESOURCEW(1), type);
    return std::string(static_cast<const char*>(LockResource(LoadResource(image, found))),
                       SizeofResource(image, found));
  };
  const std::string manifest = resource(RT_MANIFEST);
  for (const char* part : {"\"Microsoft.Windows.Common-Controls\"", "version=\"6.0.0.0\"",
                           "WindowsSettings\">true</dpiAware>",
                           "WindowsSettings\">PerMonitorV2, system</dpiAwareness>"})
    EXPECT_NE(manifest.find(part), std::string::npos) << part;
  // Per image of the icon group: width, height (0 for 256), colours, bits.
  const std::string group = resource(RT_GROUP_ICON);
  std::string images;
  for (std::size_t at = 6; at + 14 <= group.size(); at += 14)
    for (std::size_t field : {0, 1, 2, 6}) images += std::to_string(BYTE(group[at + field])) + " ";
  EXPECT_EQ(images, "16 16 16 4 16 16 0 32 20 20 0 32 24 24 0 32 32 32 0 32 48 48 0 32 0 0 0 32 ");
  FreeLibrary(image);
}

TEST_F(EditorWindow, KeysAndMouseWorkAsInADialog) {
  Pref(L"NoFileInfo", L"1", true);
  const std::string path = Nameless("keys.mp3", "Keys");
  Editor editor(Quoted(path));
  ASSERT_TRUE(editor.WaitReady());
  EXPECT_TRUE(editor.Checked(kCheck1) && editor.Checked(kCheck2));
  EXPECT_EQ(SizeOf(editor.Window()).cy, Twips(5250, 96));
  EXPECT_EQ(SendMessageW(editor.Control(kNote), EM_GETLIMITTEXT, 0, 0), 28);
  // Enter walks the inputs, selecting each text; Tab goes on to the buttons.
  for (int id : {kArtist, int(kCombo1), kNote, kTitle, kText1 + 4, kAlbum}) {
    ASSERT_TRUE(Walk(editor, VK_RETURN, id)) << id;
    if (id != kCombo1) {
      EXPECT_EQ(SendMessageW(editor.Control(id), EM_GETSEL, 0, 0),
                MAKELONG(0, editor.Text(id).size()));
    }
  }
  for (int id : {kArtist, int(kCombo1), kNote, kTitle, kText1 + 4, int(kCommand2), int(kCommand1),
                 int(kCommand3), int(kCheck2), int(kCheck1), int(kCommand4), kAlbum})
    ASSERT_TRUE(Walk(editor, VK_TAB, id)) << id;
  ASSERT_TRUE(Walk(editor, VK_TAB, kCommand4, VK_SHIFT));
  ASSERT_TRUE(Walk(editor, VK_TAB, kAlbum));
  // After the About box the focus is back where it was, and keys reach it.
  PostMessageW(editor.Window(), WM_COMMAND, kMnuAbout, 0);
  ExpectBox(editor, form::AboutText({ID3_VERSION_MAJOR, ID3_VERSION_MINOR, ID3_VERSION_REVISION}),
            BoxIcon::Information);
  ASSERT_TRUE(editor.WaitForFocus(kAlbum));
  Press('X');
  EXPECT_TRUE(WaitUntil([&] { return editor.Text(kAlbum) == L"x"; }));
  // Esc in the dropped list closes the list, not the window.
  ASSERT_TRUE(Walk(editor, VK_RETURN, kArtist));
  ASSERT_TRUE(Walk(editor, VK_RETURN, kCombo1));
  Press(VK_F4);
  ASSERT_TRUE(WaitUntil([&] { return Dropped(editor); }));
  Press(VK_ESCAPE);
  ASSERT_TRUE(WaitUntil([&] { return !Dropped(editor); }));
  EXPECT_TRUE(editor.Running());
  // "Blues", shown for the nameless genre, chosen with the mouse: the list
  // opens below the box with the shown entry at its top.
  ClickAt(Centre(editor.Control(kCombo1)));
  ASSERT_TRUE(WaitUntil([&] { return Dropped(editor); }));
  RECT box{};
  GetWindowRect(editor.Control(kCombo1), &box);
  ClickAt(
      {Centre(editor.Control(kCombo1)).x,
       box.bottom + 2 + int(SendMessageW(editor.Control(kCombo1), CB_GETITEMHEIGHT, 0, 0)) / 2});
  ASSERT_TRUE(WaitUntil([&] { return !Dropped(editor); }));
  // Enter presses the focused button; after its box the focus is back on it.
  for (int id : {kNote, kTitle, kText1 + 4, int(kCommand2), int(kCommand1), int(kCommand3)})
    ASSERT_TRUE(Walk(editor, VK_TAB, id)) << id;
  Press(VK_RETURN);
  ExpectBox(editor, "Delete?", BoxIcon::Critical, IDCANCEL);
  ASSERT_TRUE(editor.WaitForFocus(kCommand3));
  ASSERT_TRUE(Walk(editor, VK_TAB, kCommand1, VK_SHIFT));
  ASSERT_TRUE(Walk(editor, VK_TAB, kCommand2, VK_SHIFT));
  Press(VK_RETURN);
  ASSERT_TRUE(editor.WaitForExit());
  const TagFields saved = ReadTag(path);
  EXPECT_EQ(saved.album, "x");
  EXPECT_EQ(saved.genre, "Blues");
  EXPECT_EQ(saved.track, 9);
}

// Real failures: a handle held without sharing, the file shortened and then
// removed by someone else while the window is open.
TEST_F(EditorWindow, AFailedSaveOrDeleteSaysWhyAndChangesNothing) {
  const std::string path = Make("busy.mp3", sample);
  Editor editor(Quoted(path) + L" -noplay");
  ASSERT_TRUE(editor.WaitReady());
  EXPECT_FALSE(IsWindowEnabled(editor.Control(kCommand4)));
  SendMessageW(editor.Control(kTitle), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Kept"));
  const auto failure = [](TagError error) { return form::SaveFailure(error).text; };
  const HANDLE held =
      CreateFileW(win::Widen(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ExpectClickBox(editor, kCommand2, failure(TagError::InUse), BoxIcon::Critical);
  auto remove = editor.Click(kCommand3);
  ExpectBox(editor, "Delete?", BoxIcon::Critical);
  ExpectBox(editor, failure(TagError::InUse), BoxIcon::Critical);
  remove.get();
  CloseHandle(held);
  EXPECT_EQ(ReadAll(path), sample);
  fs::resize_file(FromU8(path), sample.size() - 1);
  ExpectClickBox(editor, kCommand2, failure(TagError::Changed), BoxIcon::Critical);
  EXPECT_EQ(ReadAll(path), Bytes(sample.begin(), sample.end() - 1));
  fs::remove(FromU8(path));
  ExpectClickBox(editor, kCommand2, failure(TagError::NotFound), BoxIcon::Critical);
  EXPECT_FALSE(fs::exists(FromU8(path)));
  EXPECT_EQ(editor.Text(kTitle), L"Kept");
  // A second Esc, with Shift, cancels.
  ClickAt(Centre(editor.Control(kCombo1)));
  ASSERT_TRUE(WaitUntil([&] { return Dropped(editor); }));
  Press(VK_ESCAPE);
  Press(VK_ESCAPE, VK_SHIFT);
  ASSERT_TRUE(editor.WaitForExit());
  EXPECT_EQ(editor.ExitCode(), 0u);
}

TEST_F(EditorWindow, ADroppedFileLoadsWithTheChecksOfTheCommandLine) {
  Editor editor(Quoted(Make("song.wav", audio)));
  ExpectBox(editor, "Invalid file!", BoxIcon::Exclamation, IDOK, L"Error!");
  ASSERT_TRUE(editor.WaitReady());
  EXPECT_EQ(editor.Text(kLabel3), L"No file open.");
  ExpectClickBox(editor, kCommand2, "Please select a genre!", BoxIcon::Exclamation);
  ExpectClickBox(editor, kCommand3, "No file open!", BoxIcon::Exclamation);
  editor.Click(kCommand4).get();
  EXPECT_FALSE(editor.TopLevel(L"#32770"));
  const auto drop = [&](const std::string& file) {
    const std::wstring name = win::Widen(file);
    Bytes data(sizeof(DROPFILES) + (name.size() + 2) * sizeof(wchar_t));
    auto* files = reinterpret_cast<DROPFILES*>(data.data());
    files->pFiles = sizeof(DROPFILES);
    files->fWide = TRUE;
    std::copy(name.begin(), name.end(), reinterpret_cast<wchar_t*>(files + 1));
    PostMessageW(editor.Window(), WM_DROPFILES, editor.Copy(data.data(), data.size()), 0);
  };
  drop(dir.File("other.wav"));
  ExpectBox(editor, "Invalid file!", BoxIcon::Exclamation, IDOK, L"Error!");
  const std::string path = Nameless("Gr\xC3\xBC\xC3\x9F\x65 \xE6\x97\xA5\xE6\x9C\xAC.mp3", "");
  drop(path);
  ASSERT_TRUE(WaitUntil([&] { return editor.Text(kLabel3 + 1) == L"128"; }));
  EXPECT_EQ(editor.Text(kTitle), L"Gr\u00FC\u00DFe \u65E5\u672C");
  // "Blues", shown for the nameless genre, chosen with Enter.
  ClickAt(Centre(editor.Control(kCombo1)));
  ASSERT_TRUE(WaitUntil([&] { return Dropped(editor); }));
  ASSERT_TRUE(Walk(editor, VK_RETURN, kNote));
  editor.Click(kCommand2).get();
  ASSERT_TRUE(editor.WaitForExit());
  const TagFields saved = ReadTag(path);
  EXPECT_EQ(saved.title.substr(0, 7), "Gr\xC3\xBC\xC3\x9F\x65");
  EXPECT_EQ(saved.genre, "Blues");
}

TEST_F(EditorWindow, PlayOpensTheFileAndDeleteRemovesTheTag) {
  // The prefix's association, set for the test and put back after.
  const std::string record = dir.File("played.txt");
  const std::wstring command = L"cmd.exe /c echo \"%1\">\"" + win::Widen(record) + L"\"";
  wchar_t old_class[64] = L"";
  DWORD bytes = sizeof(old_class);
  RegGetValueW(HKEY_CLASSES_ROOT, L".mp3", nullptr, RRF_RT_REG_SZ, nullptr, old_class, &bytes);
  RegSetKeyValueW(HKEY_CLASSES_ROOT, L".mp3", nullptr, REG_SZ, L"Id3Test.Play", 26);
  RegSetKeyValueW(HKEY_CLASSES_ROOT, L"Id3Test.Play\\shell\\open\\command", nullptr, REG_SZ,
                  command.c_str(), DWORD(command.size() * 2 + 2));
  // The option's text inside a quoted name is part of the name.
  const std::string path = Make("Live -noplay set.mp3", sample);
  Editor editor(Quoted(path));
  ASSERT_TRUE(editor.WaitReady());
  editor.Click(kCommand4).get();
  std::string played;
  EXPECT_TRUE(
      WaitUntil([&] { return std::getline(std::ifstream(FromU8(record)), played).good(); }));
  RegDeleteTreeW(HKEY_CLASSES_ROOT, L"Id3Test.Play");
  if (*old_class)
    RegSetKeyValueW(HKEY_CLASSES_ROOT, L".mp3", nullptr, REG_SZ, old_class,
                    DWORD(wcslen(old_class) * 2 + 2));
  else
    RegDeleteTreeW(HKEY_CLASSES_ROOT, L".mp3");
  EXPECT_NE(played.find(path), std::string::npos) << played;
  auto remove = editor.Click(kCommand3);
  ExpectBox(editor, "Delete?", BoxIcon::Critical, VK_ESCAPE);
  remove.get();
  EXPECT_EQ(ReadAll(path), sample);
  remove = editor.Click(kCommand3);
  ExpectBox(editor, "Delete?", BoxIcon::Critical);
  remove.get();
  ASSERT_TRUE(editor.WaitForExit());
  EXPECT_EQ(ReadAll(path), audio);
}

} // namespace
} // namespace id3::test
