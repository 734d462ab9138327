// The registry functions, registration in scratch roots, and the program and
// its installer in Wine's own.
#include "startup/shellverb_win32.h"
#include "testfs.h"
#include "windriver_win32.h"

#include "tools/wintext_win32.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <fstream>
#include <optional>
#include <set>
#include <thread>

namespace id3::startup {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;
using UniqueHandle = std::unique_ptr<void, decltype(&CloseHandle)>;
constexpr std::string_view kCommand = R"("C:\Tools\id3edit.exe" "%1")";
const fs::path kFolder = fs::path(ID3_FOLDER).make_preferred();

std::wstring Quoted(const fs::path& path) { return L"\"" + path.wstring() + L"\""; }

std::string BoxFor(Outcome outcome, std::string icon = "") {
  return "Quelmo ID3TAG EDITOR|" + std::string(MessageFor(outcome).text) + "|OK" + icon;
}

BOOL CALLBACK CollectVisible(HWND window, LPARAM list) {
  if (IsWindowVisible(window)) reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

// While it lives, reads and answers every message box (the icon only of this
// process's own boxes, by its handle: the pixels on the screen may still be
// the last box's) and counts and closes every other window.
class Answerer {
public:
  std::pair<Lines, int> Stop() {
    done_ = true;
    if (thread_.joinable()) thread_.join();
    return {boxes_, others_};
  }
  ~Answerer() { Stop(); }

private:
  void Sweep() {
    std::vector<HWND> found;
    EnumWindows(CollectVisible, reinterpret_cast<LPARAM>(&found));
    for (HWND window : found) {
      DWORD pid = 0;
      GetWindowThreadProcessId(window, &pid);
      if (!seen_.insert(window).second) continue;
      if (test::ClassOf(window) != L"#32770") {
        ++others_;
        PostMessageW(window, WM_CLOSE, 0, 0);
        continue;
      }
      const test::BoxSeen box = test::ReadBox(window);
      std::wstring line = box.caption + L"|" + box.text;
      for (const std::wstring& button : box.buttons) line += L"|" + button;
      for (HWND c = GetWindow(window, GW_CHILD); c && pid == GetCurrentProcessId();
           c = GetWindow(c, GW_HWNDNEXT))
        if (const auto icon = reinterpret_cast<HICON>(SendMessageW(c, STM_GETICON, 0, 0)))
          line += icon == LoadIconW(nullptr, IDI_ASTERISK) ? L"|(i)"
                  : icon == LoadIconW(nullptr, IDI_HAND)   ? L"|(x)"
                                                           : L"|(?)";
      boxes_.push_back(win::Narrow(line));
      SendMessageW(FindWindowExW(window, nullptr, L"Button", nullptr), BM_CLICK, 0, 0);
    }
  }
  Lines boxes_;
  int others_ = 0;
  std::set<HWND> seen_;
  std::atomic<bool> done_{false};
  std::thread thread_{[this] {
    for (; !done_; Sleep(20)) Sweep();
  }};
};

// Runs a command line to its end; its exit code.
DWORD RunToEnd(std::wstring command_line) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  EXPECT_TRUE(CreateProcessW(nullptr, command_line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                             nullptr, &startup, &info));
  const UniqueHandle process(info.hProcess, CloseHandle), thread(info.hThread, CloseHandle);
  DWORD exit_code = 0;
  WaitForSingleObject(process.get(), INFINITE);
  GetExitCodeProcess(process.get(), &exit_code);
  return exit_code;
}

bool KeyExists(HKEY root, const std::string& path) {
  return OpenRegKey(root, path, KEY_READ) != nullptr;
}

// Every key and value below root\path as the registry saves them (walking the
// machine's classes takes seconds), without the times of last change.
// Volatile keys are never saved.
Lines Saved(HKEY root, const std::string& path) {
  static const bool may_save = [] {
    HANDLE raw = nullptr;
    OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES, &raw);
    TOKEN_PRIVILEGES backup{1, {{{}, SE_PRIVILEGE_ENABLED}}};
    return LookupPrivilegeValueW(nullptr, SE_BACKUP_NAME, &backup.Privileges[0].Luid) &&
           AdjustTokenPrivileges(UniqueHandle(raw, CloseHandle).get(), FALSE, &backup, 0, nullptr,
                                 nullptr);
  }();
  const test::ScratchDir dir;
  EXPECT_TRUE(may_save && RegSaveKeyW(OpenRegKey(root, path, KEY_READ).get(),
                                      (dir.Path() / "k").c_str(), nullptr) == 0);
  std::ifstream in(dir.Path() / "k");
  Lines lines;
  const std::string root_path = (root == HKEY_CURRENT_USER ? "HKCU\\" : "HKLM\\") + path;
  std::string key = root_path;
  for (std::string line; std::getline(in, line);) {
    if (line.starts_with('[')) key = root_path + line.substr(0, line.rfind(']') + 1);
    if (!line.starts_with("#time=")) lines.push_back(line.starts_with('[') ? key : key + line);
  }
  return lines;
}

Lines Classes() {
  Lines lines = Saved(HKEY_LOCAL_MACHINE, "Software\\Classes");
  std::ranges::copy(Saved(HKEY_CURRENT_USER, "Software\\Classes"), std::back_inserter(lines));
  return lines;
}

// In any order: Wine keeps values in the order they were written.
void ExpectSame(Lines before, Lines after) {
  std::ranges::sort(before);
  std::ranges::sort(after);
  Lines gone, added;
  std::ranges::set_difference(before, after, std::back_inserter(gone));
  std::ranges::set_difference(after, before, std::back_inserter(added));
  EXPECT_EQ(gone, Lines{});
  EXPECT_EQ(added, Lines{});
}

// Volatile below a volatile key, which refuses any other.
void MakeKey(HKEY root, const std::string& path, std::optional<std::string> value = {}) {
  HKEY raw = nullptr;
  for (DWORD options : {REG_OPTION_NON_VOLATILE, REG_OPTION_VOLATILE})
    if (!raw)
      RegCreateKeyExW(root, win::Widen(path).c_str(), 0, nullptr, options, KEY_ALL_ACCESS, nullptr,
                      &raw, nullptr);
  if (value)
    RegWriteValue(UniqueHKey(raw).get(), "", "", REG_SZ, *value);
  else
    RegCloseKey(raw);
}

// A scratch key, deleted whole at the end. A volatile one refuses every key
// below it that is not volatile too, as HKEY_CLASSES_ROOT refuses a user
// without administrator rights.
struct TestKey {
  TestKey(const std::string& name, bool refusing) : path("Software\\Id3StartupTest " + name) {
    RegDeleteTreeW(HKEY_CURRENT_USER, win::Widen(path).c_str());
    RegCreateKeyExW(HKEY_CURRENT_USER, win::Widen(path).c_str(), 0, nullptr,
                    refusing ? REG_OPTION_VOLATILE : REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                    nullptr, &key, nullptr);
  }
  TestKey(const TestKey&) = delete;
  ~TestKey() {
    RegCloseKey(key);
    RegDeleteTreeW(HKEY_CURRENT_USER, win::Widen(path).c_str());
  }
  std::string path;
  HKEY key = nullptr;
};

TEST(ModTools, ReadsWritesAndDeletesRealKeys) {
  const TestKey root("modtools", false);
  const HKEY k = root.key;
  // 2048 bytes with the NUL still fit, two more do not: strings are stored
  // with their NUL.
  ASSERT_EQ(RegWriteValue(k, "a\\b", "fits", REG_SZ, std::string(1023, 'x')), 0);
  ASSERT_EQ(RegWriteValue(k, "a\\b", "long", REG_SZ, std::string(1024, 'x')), 0);
  ASSERT_EQ(RegWriteValue(k, "a\\b", "", REG_DWORD, std::uint32_t{7}), 0);
  RegSetKeyValueW(k, L"a\\b", L"raw", REG_BINARY, "\x0A\xFF", 2);
  EXPECT_EQ(RegGetString(k, "a\\b", "fits"), std::string(1023, 'x'));
  EXPECT_EQ(RegGetString(k, "a\\b", "long") + RegGetString(k, "a", ""), "");
  EXPECT_EQ(RegGetString(k, "a\\b", "") + "|" + RegGetString(k, "a\\b", "raw"), "007|0AFF");
  EXPECT_EQ(RegWriteValue(k, "x", "", REG_SZ, std::uint32_t{1}), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(RegWriteValue(k, "x", "", REG_BINARY, std::string()), ERROR_INVALID_PARAMETER);
  // One leaf key, never the root itself.
  EXPECT_TRUE(RegDeleteKeyPath(k, "a") != 0 && RegDeleteKeyPath(k, "") != 0);
  EXPECT_EQ(RegDeleteKeyPath(k, "a\\b"), 0);
  EXPECT_TRUE(KeyExists(k, "a") && !KeyExists(k, "a\\b") && !KeyExists(k, "x"));
}

// Where both verbs go; removal leaves both places as they were.
TEST(Registration, RemovalTakesAwayExactlyWhatItMade) {
  using Keys = std::vector<std::pair<std::string, std::optional<std::string>>>;
  constexpr Placement kMachine = Placement::MachineWide, kUser = Placement::ForUser;
  struct Case {
    bool machine_refuses, user_only;
    Placement placement;
    const char* file_class;
    Keys machine_keys, user_keys;
  };
  const Case cases[] = {
      {false, false, kMachine, "Mp3file", {}, {}},
      {true, false, kUser, "Mp3file", {}, {}},
      {false, true, kUser, "Mp3file", {}, {}},
      {false, false, kMachine, "Audio", {{".mp3", "Audio"}, {"Audio\\Shell\\a", "x"}}, {}},
      {true, false, kUser, "Audio", {{".mp3", "Audio"}}, {}},
      {true, false, kUser, "Mp3file", {{".mp3", {}}}, {}},
      {true, false, kUser, "UserAudio", {}, {{".mp3", "UserAudio"}}},
      // Keys that were there already stay, however empty.
      {false, false, kMachine, "Mp3file", {{".mp3\\x", {}}, {"Mp3file\\Shell", {}}}, {}},
      {false, false, kMachine, "Mp3file", {{".mp3", ""}, {"SystemFileAssociations", {}}}, {}},
      {false, false, kMachine, "Mp3file", {{"SystemFileAssociations\\.mp3\\shell\\a", "x"}}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.machine_keys) + testing::PrintToString(c.user_keys));
    const TestKey machine("machine", c.machine_refuses), user("user", false);
    for (const auto& [path, value] : c.machine_keys) MakeKey(machine.key, path, value);
    for (const auto& [path, value] : c.user_keys) MakeKey(user.key, path, value);
    const Lines before = Saved(HKEY_CURRENT_USER, "Software");
    // Twice: the second time must not take its own keys for ones found.
    for (int i = 0; i < 2; ++i)
      EXPECT_EQ(RegisterVerb(machine.key, user.key, kCommand, c.user_only), c.placement);
    const HKEY place = c.placement == kUser ? user.key : machine.key;
    for (const std::string& verb : {VerbKeyPath(c.file_class), SupplementalVerbKeyPath()})
      EXPECT_EQ(RegGetString(place, CommandKeyPath(verb), ""), kCommand);
    EXPECT_TRUE(UnregisterVerb(machine.key, user.key, c.user_only));
    ExpectSame(before, Saved(HKEY_CURRENT_USER, "Software"));
    // A refusing place's keys are volatile, which are never saved.
    for (const auto& [path, value] : c.machine_keys)
      EXPECT_EQ(RegGetString(machine.key, path, ""), value.value_or("")) << path;
  }
}

TEST(Registration, TellsTheOutcomeInABox) {
  const TestKey machine("machine", true), user("user", false);
  const auto expect = [](Outcome outcome, const char* icon, const std::function<Outcome()>& run) {
    Answerer answerer;
    EXPECT_EQ(run(), outcome);
    EXPECT_EQ(answerer.Stop(), std::pair(Lines{BoxFor(outcome, icon)}, 0));
  };
  expect(Outcome::Registered, "|(i)",
         [&] { return RunRegister(machine.key, user.key, kCommand, {}); });
  // A value given since to the class it made keeps the class and its name.
  MakeKey(user.key, "Mp3file", "MP3 audio");
  // A verb key that holds more than its Command stays.
  MakeKey(user.key, VerbKeyPath("Mp3file") + "\\DropTarget");
  expect(Outcome::UnregistrationFailed, "|(x)",
         [&] { return RunUnregister(machine.key, user.key, {}); });
  RegDeleteKeyPath(user.key, VerbKeyPath("Mp3file") + "\\DropTarget");
  expect(Outcome::Unregistered, "|(i)", [&] { return RunUnregister(machine.key, user.key, {}); });
  EXPECT_FALSE(KeyExists(user.key, "Mp3file\\Shell"));
  EXPECT_EQ(RegGetString(user.key, ".mp3", "") + RegGetString(user.key, "Mp3file", ""),
            "Mp3fileMP3 audio");
  expect(Outcome::RegistrationFailed, "|(x)",
         [&] { return RunRegister(machine.key, machine.key, kCommand, {}); });
}

// The program in Wine's own classes roots, first with no ".mp3" at all, then
// with a class whose Shell key has a verb of its own.
TEST(Program, RegistersBothVerbsAndUnregistersToTheKeysItFound) {
  ASSERT_FALSE(KeyExists(HKEY_CLASSES_ROOT, ".mp3") || KeyExists(HKEY_CLASSES_ROOT, "Audio"))
      << "the test would change them";
  const fs::path program = kFolder / u8"My Tools Ünï 音" / "id3edit.exe";
  const std::string command = win::Narrow(Quoted(program)) + " \"%1\"";
  for (const std::string file_class : {"Mp3file", "Audio"}) {
    if (file_class == "Audio") MakeKey(HKEY_CLASSES_ROOT, ".mp3", file_class);
    if (file_class == "Audio") MakeKey(HKEY_CLASSES_ROOT, "Audio\\Shell\\open", "x");
    const Lines before = Classes();
    Answerer registering;
    EXPECT_EQ(RunToEnd(Quoted(program) + L" -register"), 0u);
    EXPECT_EQ(registering.Stop(), std::pair(Lines{BoxFor(Outcome::Registered)}, 0));
    for (const std::string& verb : {VerbKeyPath(file_class), SupplementalVerbKeyPath()})
      EXPECT_EQ(RegGetString(HKEY_CLASSES_ROOT, CommandKeyPath(verb), ""), command);
    Answerer removing;
    EXPECT_EQ(RunToEnd(Quoted(program) + L" -unregister"), 0u);
    EXPECT_EQ(removing.Stop(), std::pair(Lines{BoxFor(Outcome::Unregistered)}, 0));
    ExpectSame(before, Classes());
  }
  RegDeleteTreeW(HKEY_CLASSES_ROOT, L".mp3");
  RegDeleteTreeW(HKEY_CLASSES_ROOT, L"Audio");
}

TEST(Installer, InstallsAndUninstallsSilentlyForTheUser) {
  const fs::path folder = fs::path(_wgetenv(L"LOCALAPPDATA")) / "Programs" / "Quelmo ID3TAG EDITOR";
  const std::string apps =
      "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\QuelmoID3TagEditor";
  const std::string settings = "Software\\Quelmo ID3TAG EDITOR";
  const Lines found = Classes();
  Answerer answerer;
  EXPECT_EQ(RunToEnd(Quoted(fs::path(ID3_SETUP).make_preferred()) + L" /S"), 0u);
  const UniqueHKey user = OpenUserClasses();
  for (const std::string& verb : {VerbKeyPath("Mp3file"), SupplementalVerbKeyPath()})
    EXPECT_EQ(RegGetString(user.get(), CommandKeyPath(verb), ""),
              win::Narrow(Quoted(folder / "id3edit.exe") + L" \"%1\""));
  EXPECT_EQ(RegGetString(HKEY_CURRENT_USER, apps, "UninstallString"),
            win::Narrow(Quoted(folder / "uninstall.exe")));
  // Settings the window would have stored.
  MakeKey(HKEY_CURRENT_USER, settings + "\\General");
  // From a copy that stays, as the uninstaller would run from a copy of itself
  // in the temporary folder, left to be deleted when Windows next starts.
  fs::copy_file(folder / "uninstall.exe", kFolder / "uninstall.exe",
                fs::copy_options::overwrite_existing);
  EXPECT_EQ(RunToEnd(Quoted(kFolder / "uninstall.exe") + L" /S _?=" + folder.wstring()), 0u);
  EXPECT_EQ(answerer.Stop(), std::pair(Lines{}, 0));
  EXPECT_FALSE(fs::exists(folder));
  ExpectSame(found, Classes());
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, apps) || KeyExists(HKEY_CURRENT_USER, settings));
}

} // namespace
} // namespace id3::startup
