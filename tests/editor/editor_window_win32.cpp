// The real editor program under Wine, one start per scenario, driven with real
// key presses and button clicks; its files checked byte for byte. What the form
// decides is the model's test: here is the wiring.
#include "registry_win32.h"
#include "windriver_win32.h"

#include "editor/editor_controls.h"
#include "editor/form_model.h"
#include "tools/wintext_win32.h"
#include "version.h"
#include "wingui/units.h"

#include "sample_tag.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>
#include <filesystem>
#include <vector>

namespace id3::test {
namespace {

using namespace editor_ids;
namespace fs = std::filesystem;

constexpr int kAlbum = kTextBoxes, kArtist = kTextBoxes + 1, kNote = kTextBoxes + 2,
              kTitle = kTextBoxes + 3, kYear = kTextBoxes + 4;
// Top to bottom, the order Enter walks them in.
constexpr int kInputs[] = {kAlbum, kArtist, kGenreBox, kNote, kTitle, kYear};

int Twips(int twips) { return TwipsToPixels(twips, 144); }
SIZE SizeOf(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return {r.right - r.left, r.bottom - r.top};
}
// The editor started on a file, the rest of the argument text after its name.
struct Editor : Program {
  explicit Editor(const std::string& path, const wchar_t* more = L" -noplay")
      : Program(ID3EDIT_EXE, L"\"" + win::Widen(path) + L"\"" + more) {}
  // The window shown with the focus in the album box.
  bool WaitReady() { return WaitForWindow(kClassName) && WaitForFocus(kAlbum); }
  bool Walk(UINT vk, int to) const {
    Press(vk);
    return WaitForFocus(to);
  }
  // Enter pressed in each input from the one given on to the input to.
  bool EnterTo(int to, int from = kAlbum) const {
    const int* at = std::ranges::find(kInputs, from);
    while (*at != to)
      if (++at == std::end(kInputs) || !Walk(VK_RETURN, *at)) return false;
    return true;
  }
  bool Dropped(bool dropped) const {
    return WaitUntil(
        [&] { return SendMessageW(Control(kGenreBox), CB_GETDROPPEDSTATE, 0, 0) == dropped; });
  }
  // Ok pressed, and the program ended.
  bool Ok() const {
    Click(kOkButton).get();
    return !Running(20000);
  }
};

// The model's message as its box shows it.
std::optional<BoxSeen> Box(const form::Message& message) {
  const BoxIcon icons[] = {BoxIcon::Exclamation, BoxIcon::Critical, BoxIcon::Information};
  std::vector<std::wstring> buttons{L"OK"};
  if (message.buttons == form::Buttons::OkCancel) buttons.push_back(L"Cancel");
  return BoxSeen{win::Widen(message.caption), win::Widen(message.text), icons[int(message.icon)],
                 buttons};
}
// The box that a click on the control opens, answered.
std::optional<BoxSeen> ClickAnswering(const Program& editor, int id, int answer = IDOK) {
  auto click = editor.Click(id);
  const auto seen = AnswerBox(editor.Id(), answer);
  click.get();
  return seen;
}

class EditorWindow : public ScratchTest {
protected:
  // The preferences as the test found them, put back after it; a test starts
  // with none but the window short and still.
  const RegistryScope settings_{HKEY_CURRENT_USER, L"Software\\Quelmo ID3TAG EDITOR",
                                RegistryScope::Start::Empty};
  static constexpr const char* kPrefs[] = {"NoAnimations", "NoFileInfo"};
  void SetUp() override {
    for (const char* name : kPrefs)
      WriteRegText(CreateRegKey(settings_, "General", KEY_WRITE).get(), name, "1");
  }

  // The sample with a tag without a title whose genre byte has no name, shown
  // as "Blues".
  const Bytes file = [] {
    Bytes sample = ReadAll(SampleFile("sample.mp3"));
    std::ranges::copy(RecordBytes({}), sample.end() - 128);
    sample.back() = 200;
    return sample;
  }();
};

TEST_F(EditorWindow, ShowsAFileFollowsTheDpiPlaysAndSavesAGenreChosenInTheList) {
  RegDeleteTreeW(settings_, L"General");
  // The option's text inside a quoted name is part of the name; the long
  // path is shortened in the panel.
  fs::create_directories(dir.Path() / "a folder with a long name");
  const std::string path = Make("a folder with a long name\\Live -noplay set.mp3", file);
  Editor editor(path, L"");
  ASSERT_TRUE(editor.WaitReady());
  EXPECT_EQ(TextOf(editor.Window()), L"Quelmo ID3TAG EDITOR v" + win::Widen(ID3_VERSION_TEXT));
  EXPECT_EQ(editor.Text(kTitle) + editor.Text(kGenreBox), L"Live -noplay setBlues");
  EXPECT_EQ(editor.Text(kInfoValues + 1), L"128");
  EXPECT_NE(editor.Text(kInfoValues).find(L"..."), std::wstring::npos);
  EXPECT_FALSE(editor.Checked(kNoAnimationsBox) || editor.Checked(kHideInfoBox));
  EXPECT_TRUE(IsWindowEnabled(editor.Control(kPlayButton)));
  RECT work{}, shown{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  GetWindowRect(editor.Window(), &shown);
  EXPECT_NEAR(shown.left + shown.right, work.left + work.right, 2);
  EXPECT_NEAR(shown.top + shown.bottom, work.top + work.bottom, 2);
  // Each input has its caption just before it in z-order: a screen reader
  // names the input after it.
  for (int i = 0;
       const wchar_t* caption : {L"Album:", L"Artist:", L"Genre:", L"Note:", L"Title:", L"Year:"})
    EXPECT_EQ(TextOf(GetWindow(editor.Control(kInputs[i++]), GW_HWNDPREV)), caption);

  // The genre shown, "Blues" for the nameless one (or the entry under the
  // pointer, which a dropped list follows), chosen in the dropped list: Esc
  // closes the list, Enter chooses and goes on.
  ASSERT_TRUE(editor.EnterTo(kGenreBox));
  for (UINT key : {VK_ESCAPE, VK_RETURN}) {
    Press(VK_F4);
    ASSERT_TRUE(editor.Dropped(true));
    Press(key);
    ASSERT_TRUE(editor.Dropped(false));
  }
  ASSERT_TRUE(editor.WaitForFocus(kNote));
  const std::wstring genre = editor.Text(kGenreBox);

  // Moved to a screen of 144 DPI: the same twips, in a font made for it.
  const LONG label_at_96 = SizeOf(editor.Control(kInputCaptions)).cx;
  RECT suggested{0, 0, Twips(4700), Twips(7560)}, client{};
  SendMessageW(editor.Window(), WM_DPICHANGED, MAKEWPARAM(144, 144),
               editor.Copy(&suggested, sizeof(suggested)));
  GetClientRect(editor.Window(), &client);
  EXPECT_EQ(client.right, Twips(4515));
  EXPECT_EQ(SizeOf(editor.Window()).cy, Twips(7560));
  EXPECT_EQ(SizeOf(editor.Control(kOkButton)).cx, Twips(1185));
  EXPECT_EQ(SizeOf(editor.Control(kOkButton)).cy, Twips(345));
  EXPECT_LE(SizeOf(editor.Control(kInfoValues)).cx, Twips(4335 - 450 - 90));
  // 8.25 pt: 11 pixels high at 96 DPI, 16 (16.5 to the even neighbour) here.
  EXPECT_GT(SizeOf(editor.Control(kInputCaptions)).cx * 10, label_at_96 * 13);
  // The separator too, which takes the DPI of the window it sits in: 30
  // twips thick.
  EXPECT_EQ(SizeOf(GetDlgItem(editor.Control(kBottomPanel), kSeparator)).cy, Twips(30));
  editor.Click(kHideInfoBox).get();
  EXPECT_EQ(SizeOf(editor.Window()).cy, Twips(5250));
  editor.Click(kNoAnimationsBox).get();

  // Play starts the associated program, the prefix's own, put back after.
  const std::string played = dir.File("played.txt");
  {
    const RegistryScope mp3(HKEY_CLASSES_ROOT, L".mp3", RegistryScope::Start::Empty),
        player(HKEY_CLASSES_ROOT, L"Id3Test.Play", RegistryScope::Start::Empty);
    mp3.Make("", "Id3Test.Play");
    player.Make("shell\\open\\command", "cmd.exe /c echo \"%1\">\"" + played + "\"");
    editor.Click(kPlayButton).get();
    const auto line = WaitForLine(played);
    ASSERT_TRUE(line);
    EXPECT_NE(line->find(path), std::string::npos) << *line;
  }

  ASSERT_TRUE(editor.Ok());
  EXPECT_EQ(win::Widen(test::TagOf(path).genre), genre);
  // Stored with their NUL.
  const UniqueHKey general = OpenRegKey(settings_, "General", KEY_READ);
  for (const char* name : kPrefs)
    EXPECT_EQ(ReadRegValue(general.get(), name).transform(RegText), std::wstring(L"1", 2)) << name;
}

TEST(EditorProgram, CarriesItsManifestAndIcons) {
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

TEST_F(EditorWindow, DropsKeysAndFailuresWorkAsInADialog) {
  Editor editor(Make("song.wav", file), L"");
  EXPECT_EQ(AnswerBox(editor.Id()), Box(form::kInvalidFile));
  ASSERT_TRUE(editor.WaitReady());
  EXPECT_TRUE(editor.Checked(kNoAnimationsBox) && editor.Checked(kHideInfoBox));
  EXPECT_EQ(editor.Text(kInfoValues), L"No file open.");
  EXPECT_EQ(ClickAnswering(editor, kDeleteButton), Box(form::kNoFileOpen));
  editor.Click(kPlayButton).get();
  EXPECT_FALSE(editor.TopLevel(L"#32770"));
  // Files dropped from Explorer: one refused, then one loaded.
  const std::string path = Make("Gr\xC3\xBC\xC3\x9F\x65 \xE6\x97\xA5\xE6\x9C\xAC.mp3", file);
  for (const std::string& dropped : {dir.File("other.wav"), path}) {
    const std::wstring name = win::Widen(dropped);
    Bytes data(sizeof(DROPFILES) + (name.size() + 2) * sizeof(wchar_t));
    reinterpret_cast<DROPFILES*>(data.data())->pFiles = sizeof(DROPFILES);
    reinterpret_cast<DROPFILES*>(data.data())->fWide = TRUE;
    std::copy(name.begin(), name.end(), reinterpret_cast<wchar_t*>(&data[sizeof(DROPFILES)]));
    PostMessageW(editor.Window(), WM_DROPFILES, editor.Copy(data.data(), data.size()), 0);
    if (dropped != path) {
      EXPECT_EQ(AnswerBox(editor.Id()), Box(form::kInvalidFile));
    }
  }
  ASSERT_TRUE(WaitUntil([&] { return editor.Text(kInfoValues + 1) == L"128"; }));

  // Tab reaches the album box after the last button; Enter walks the inputs,
  // from the year back to the album.
  ASSERT_TRUE(editor.Walk(VK_TAB, kAlbum) && editor.EnterTo(kYear) &&
              editor.Walk(VK_RETURN, kAlbum) && editor.EnterTo(kTitle));
  // After a message box the focus is back where it was, and keys reach it: a
  // key replaces the text, which a box selects as it takes the focus.
  PostMessageW(editor.Window(), WM_COMMAND, kAboutMenu, 0);
  const std::string about =
      form::AboutText({ID3_VERSION_MAJOR, ID3_VERSION_MINOR, ID3_VERSION_REVISION});
  EXPECT_EQ(AnswerBox(editor.Id()),
            Box({about, form::kAppTitle, form::Icon::Information, form::Buttons::Ok}));
  ASSERT_TRUE(editor.WaitForFocus(kTitle));
  Press('X');
  EXPECT_TRUE(WaitUntil([&] { return editor.Text(kTitle) == L"x"; }));

  // Esc refuses to delete; a real failure says why: a handle held without
  // sharing. Neither changes the file.
  EXPECT_EQ(ClickAnswering(editor, kDeleteButton, kPressEsc), Box(form::kConfirmDelete));
  const HANDLE held =
      CreateFileW(win::Widen(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  auto remove = editor.Click(kDeleteButton);
  EXPECT_EQ(AnswerBox(editor.Id()), Box(form::kConfirmDelete));
  EXPECT_EQ(AnswerBox(editor.Id()), Box(form::SaveFailure(TagError::InUse)));
  remove.get();
  EXPECT_EQ(ClickAnswering(editor, kOkButton), Box(form::SaveFailure(TagError::InUse)));
  CloseHandle(held);
  EXPECT_EQ(ReadAll(path), file);
  // Tab from the Ok button clicked last; Enter on the focused button deletes.
  ASSERT_TRUE(editor.Walk(VK_TAB, kCancelButton) && editor.Walk(VK_TAB, kDeleteButton));
  Press(VK_RETURN);
  EXPECT_EQ(AnswerBox(editor.Id()), Box(form::kConfirmDelete));
  ASSERT_FALSE(editor.Running(20000));
  EXPECT_EQ(ReadAll(path), Bytes(file.begin(), file.end() - 128));
}

// A Russian title typed into the Russian tag: stored in 1251, every other byte
// as it was.
TEST_F(EditorWindow, TypedTextIsSavedInTheTagsCodePage) {
  Bytes want = ReadAll(GenFile("codepages/russian.mp3"));
  const std::string path = Make("russian.mp3", want);
  std::ranges::copy("\xCA\xF3\xEA\xF3\xF8\xEA\xE0" + std::string(23, ' '),
                    want.end() - 128 + record::kTitleOffset);
  Editor editor(path);
  ASSERT_TRUE(editor.WaitReady() && editor.EnterTo(kTitle));
  Type(L"Кукушка");
  ASSERT_TRUE(WaitUntil([&] { return editor.Text(kTitle) == L"Кукушка"; }));
  ASSERT_TRUE(editor.Ok());
  EXPECT_EQ(ReadAll(path), want);
}

// An APEv2 tag whose value spells "TAG" 128 bytes before the end holds no
// ID3v1 tag: the boxes show none, and Delete, confirmed, closes the window
// with the file byte for byte as it was.
TEST_F(EditorWindow, AnApeTagIsNoId3v1Tag) {
  const Bytes before = ReadAll(GenFile("trailing/ape-tag-in-value.mp3"));
  const std::string path = Make("ape.mp3", before);
  Editor editor(path);
  ASSERT_TRUE(editor.WaitReady());
  EXPECT_EQ(editor.Text(kTitle) + editor.Text(kArtist) + editor.Text(kGenreBox), L"apeBlues");
  EXPECT_EQ(ClickAnswering(editor, kDeleteButton), Box(form::kConfirmDelete));
  EXPECT_FALSE(editor.Running(20000));
  EXPECT_EQ(ReadAll(path), before);
}

// A 1251 tag without an ID3v2 tag reads as 1252 on this system; the user
// chooses Cyrillic from the Encoding menu with the keyboard (Alt+E, the third
// item). The boxes show the words; the window keeps its size, its menu bar one
// line; Ok writes nothing new.
TEST_F(EditorWindow, TheEncodingMenuReadsATagAgainFromTheKeyboard) {
  const Bytes before = ReadAll(GenFile("codepages/russian-no-id3v2.mp3"));
  const std::string path = Make("russian.mp3", before);
  Editor editor(path);
  ASSERT_TRUE(editor.WaitReady());
  EXPECT_FALSE(IsWindowEnabled(editor.Control(kPlayButton)));
  EXPECT_EQ(editor.Text(kTitle), L"Ãðóïïà êðîâè");
  RECT client{}, outer{}, after{};
  GetClientRect(editor.Window(), &client);
  GetWindowRect(editor.Window(), &outer);
  Press('E', VK_MENU);
  for (UINT key : {VK_DOWN, VK_DOWN, VK_RETURN}) Press(key);
  ASSERT_TRUE(WaitUntil([&] { return editor.Text(kTitle) == L"Группа крови"; }));
  EXPECT_EQ(editor.Text(kArtist), L"Кино");
  ASSERT_TRUE(editor.WaitForFocus(kAlbum));
  GetClientRect(editor.Window(), &after);
  EXPECT_TRUE(EqualRect(&client, &after));
  RECT one_line = client;
  AdjustWindowRectEx(&one_line, DWORD(GetWindowLongW(editor.Window(), GWL_STYLE)), TRUE,
                     DWORD(GetWindowLongW(editor.Window(), GWL_EXSTYLE)));
  EXPECT_EQ(one_line.bottom - one_line.top, outer.bottom - outer.top);
  ASSERT_TRUE(editor.Ok());
  EXPECT_EQ(ReadAll(path), before);
}

// Run where the locale makes code page cp the system's, as on a Russian
// (LANG=ru_RU.UTF-8: 1251) or a Japanese (ja_JP.UTF-8: 932) Windows.
template <UINT cp> class EditorInCodePage : public EditorWindow {
protected:
  void SetUp() override {
    ASSERT_EQ(GetACP(), cp) << "needs the locale of code page " << cp;
    EditorWindow::SetUp();
  }
};
using EditorInRussian = EditorInCodePage<1251>;
using EditorInJapanese = EditorInCodePage<932>;

// A 1251 tag without an ID3v2 tag shows in the system's code page; Esc
// closes the window, leaving the file as it was.
TEST_F(EditorInRussian, ShowsATagInTheSystemsCodePage) {
  const Bytes before = ReadAll(GenFile("codepages/russian-no-id3v2.mp3"));
  const std::string path = Make("russian.mp3", before);
  Editor editor(path);
  ASSERT_TRUE(editor.WaitReady());
  EXPECT_EQ(editor.Text(kTitle) + L"|" + editor.Text(kArtist), L"Группа крови|Кино");
  Press(VK_ESCAPE);
  ASSERT_FALSE(editor.Running(20000));
  EXPECT_EQ(editor.ExitCode(), 0u);
  EXPECT_EQ(ReadAll(path), before);
}

// A box takes what its field holds in bytes of code page 932, whether pasted
// or typed.
TEST_F(EditorInJapanese, ABoxTakesWhatTheRecordHolds) {
  Editor editor(Make("box.mp3", Bytes(file.begin(), file.end() - 128)));
  ASSERT_TRUE(editor.WaitReady() && editor.EnterTo(kNote));
  const std::wstring pasted(31, L'x');
  ASSERT_TRUE(OpenClipboard(nullptr) && EmptyClipboard());
  HGLOBAL text = GlobalAlloc(GMEM_MOVEABLE, (pasted.size() + 1) * sizeof(wchar_t));
  std::ranges::copy(pasted.c_str(), pasted.c_str() + pasted.size() + 1,
                    static_cast<wchar_t*>(GlobalLock(text)));
  GlobalUnlock(text);
  SetClipboardData(CF_UNICODETEXT, text);
  CloseClipboard();
  Press('V', VK_CONTROL);
  ASSERT_TRUE(WaitUntil([&] { return editor.Text(kNote) == pasted.substr(1); }));
  // 15 double-byte characters fill the title; "abc" after them is refused.
  const std::wstring kana = L"あいうえおかきくけこさしすせそ";
  ASSERT_TRUE(editor.EnterTo(kTitle, kNote));
  Type(kana);
  ASSERT_TRUE(WaitUntil([&] { return editor.Text(kTitle) == kana; }));
  Type(L"abc");
  ASSERT_TRUE(editor.EnterTo(kYear, kTitle));
  EXPECT_EQ(editor.Text(kTitle), kana);
  Press(VK_ESCAPE);
}

} // namespace
} // namespace id3::test
