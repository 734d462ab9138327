// What needs the real registry and the real program: the registry functions,
// registration in scratch roots (one refusing, as HKEY_CLASSES_ROOT refuses a
// user without administrator rights), and the program and its installer in
// Wine's own classes roots.
#include "startup/shellverb_win32.h"
#include "testfs.h"
#include "windriver_win32.h"

#include "tools/wintext_win32.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <fstream>
#include <functional>
#include <optional>
#include <set>
#include <thread>

namespace id3::startup {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;
using UniqueHandle = std::unique_ptr<void, decltype(&CloseHandle)>;

constexpr std::string_view kCommand = R"("C:\Tools\id3edit.exe" "%1")";

std::wstring Quoted(const fs::path& path) { return L"\"" + path.wstring() + L"\""; }

std::string BoxFor(Outcome outcome, std::string icon = "") {
  return "Quelmo ID3TAG EDITOR|" + std::string(MessageFor(outcome).text) + "|OK" + icon;
}

BOOL CALLBACK CollectVisible(HWND window, LPARAM list) {
  if (IsWindowVisible(window)) reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

// Each new top-level window of the processes that owned() names: a message box
// is read as caption|text|buttons and answered with its first button; any
// other window is counted and closed. The icon of this process's own boxes is
// told by its handle, as the pixels on the screen may still be the last box's.
struct Seen {
  Lines boxes;
  int others = 0;
  std::set<HWND> done;

  void Sweep(const std::function<bool(DWORD)>& owned) {
    std::vector<HWND> found;
    EnumWindows(CollectVisible, reinterpret_cast<LPARAM>(&found));
    for (HWND window : found) {
      DWORD pid = 0;
      GetWindowThreadProcessId(window, &pid);
      if (!owned(pid) || !done.insert(window).second) continue;
      if (test::ClassOf(window) != L"#32770") {
        ++others;
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
      boxes.push_back(win::Narrow(line));
      SendMessageW(FindWindowExW(window, nullptr, L"Button", nullptr), BM_CLICK, 0, 0);
    }
  }
};

// Runs a command line to its end; the exit code is the process's.
std::pair<Seen, DWORD> RunProgram(std::wstring command_line) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  EXPECT_TRUE(CreateProcessW(nullptr, command_line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                             nullptr, &startup, &info));
  const UniqueHandle process(info.hProcess, CloseHandle), thread(info.hThread, CloseHandle);
  Seen seen;
  // The wait only paces the sweeps.
  while (process && WaitForSingleObject(process.get(), 20) == WAIT_TIMEOUT)
    seen.Sweep([](DWORD pid) { return pid != GetCurrentProcessId(); });
  DWORD exit_code = 0;
  GetExitCodeProcess(process.get(), &exit_code);
  return {seen, exit_code};
}

// The boxes this process shows while action runs.
Lines AnswerBoxesDuring(const std::function<void()>& action) {
  Seen seen;
  std::atomic<bool> done{false};
  std::thread answerer([&] {
    for (; !done; Sleep(20)) seen.Sweep([](DWORD pid) { return pid == GetCurrentProcessId(); });
  });
  action();
  done = true;
  answerer.join();
  return seen.boxes;
}

bool KeyExists(HKEY root, const std::string& path) {
  return OpenRegKey(root, path, KEY_READ) != nullptr;
}

// Every key and value below root\path as the registry saves them (one request,
// where walking the machine's classes key by key takes seconds), without the
// times of last change, sorted, as Wine keeps values in the order they were
// written. Volatile keys are never saved.
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
  const UniqueHKey key = OpenRegKey(root, path, KEY_READ);
  EXPECT_TRUE(may_save && RegSaveKeyW(key.get(), (dir.Path() / "k").c_str(), nullptr) == 0);
  std::ifstream in(dir.Path() / "k");
  Lines lines;
  std::string key_name = path;
  for (std::string line; std::getline(in, line);) {
    if (line.starts_with('[')) key_name = path + line.substr(0, line.rfind(']') + 1);
    if (!line.starts_with("#time="))
      lines.push_back(line.starts_with('[') ? key_name : key_name + line);
  }
  std::ranges::sort(lines);
  return lines;
}

Lines Classes() {
  Lines lines = Saved(HKEY_LOCAL_MACHINE, "Software\\Classes");
  std::ranges::copy(Saved(HKEY_CURRENT_USER, "Software\\Classes"), std::back_inserter(lines));
  return lines;
}

void ExpectSame(const Lines& before, const Lines& after) {
  Lines gone, added;
  std::ranges::set_difference(before, after, std::back_inserter(gone));
  std::ranges::set_difference(after, before, std::back_inserter(added));
  EXPECT_EQ(gone, Lines{});
  EXPECT_EQ(added, Lines{});
}

// A scratch key below HKEY_CURRENT_USER, deleted whole at the end. A volatile
// one refuses every key below it that is not volatile too.
struct TestKey {
  TestKey(const std::string& name, bool refusing) : path("Software\\Id3StartupTest " + name) {
    RegDeleteTreeW(HKEY_CURRENT_USER, win::Widen(path).c_str());
    HKEY raw = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, win::Widen(path).c_str(), 0, nullptr,
                    refusing ? REG_OPTION_VOLATILE : 0, KEY_ALL_ACCESS, nullptr, &raw, nullptr);
    key.reset(raw);
  }
  ~TestKey() {
    key.reset();
    RegDeleteTreeW(HKEY_CURRENT_USER, win::Widen(path).c_str());
  }
  HKEY Get() const { return key.get(); }
  std::string path;
  UniqueHKey key;
};

// Volatile below a refusing key, which takes nothing else.
void MakeKey(HKEY root, const std::string& path, std::optional<std::string> value) {
  HKEY raw = nullptr;
  for (DWORD options : {REG_OPTION_NON_VOLATILE, REG_OPTION_VOLATILE})
    if (!raw)
      RegCreateKeyExW(root, win::Widen(path).c_str(), 0, nullptr, options, KEY_ALL_ACCESS, nullptr,
                      &raw, nullptr);
  const UniqueHKey key(raw);
  if (value) RegWriteValue(key.get(), "", "", REG_SZ, *value);
}

TEST(ModTools, ReadsWritesAndDeletesRealKeys) {
  const TestKey root("modtools", false);
  const HKEY k = root.Get();
  // 2048 bytes with the NUL still fit; two more do not.
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

// Where both verbs go, and that removal then leaves both places exactly as
// they were, whatever they held.
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
      {true, false, kUser, "UserAudio", {}, {{".mp3", "UserAudio"}}},
      // Keys that were there already stay, however empty.
      {false, false, kMachine, "Mp3file", {{".mp3\\x", {}}, {"Mp3file\\Shell", {}}}, {}},
      {false, false, kMachine, "Mp3file", {{".mp3", ""}, {"SystemFileAssociations", {}}}, {}},
      {false, false, kMachine, "Mp3file", {{"SystemFileAssociations\\.mp3\\shell\\a", "x"}}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.machine_keys) + testing::PrintToString(c.user_keys));
    const TestKey machine("machine", c.machine_refuses), user("user", false);
    for (const auto& [path, value] : c.machine_keys) MakeKey(machine.Get(), path, value);
    for (const auto& [path, value] : c.user_keys) MakeKey(user.Get(), path, value);
    const Lines before = Saved(HKEY_CURRENT_USER, "Software");
    // Twice: the second time finds its own keys, and must not take them for
    // ones that were there before.
    for (int i = 0; i < 2; ++i)
      EXPECT_EQ(RegisterVerb(machine.Get(), user.Get(), kCommand, c.user_only), c.placement);
    const HKEY place = c.placement == kUser ? user.Get() : machine.Get();
    for (const std::string& verb : {VerbKeyPath(c.file_class), SupplementalVerbKeyPath()})
      EXPECT_EQ(RegGetString(place, CommandKeyPath(verb), ""), kCommand) << verb;
    EXPECT_TRUE(UnregisterVerb(machine.Get(), user.Get(), c.user_only));
    ExpectSame(before, Saved(HKEY_CURRENT_USER, "Software"));
    // A refusing place's keys are volatile, which are never saved.
    for (const auto& [path, value] : c.machine_keys)
      EXPECT_EQ(RegGetString(machine.Get(), path, ""), value.value_or("")) << path;
  }
}

TEST(Registration, TellsTheOutcomeInABox) {
  const TestKey machine("machine", true), user("user", false);
  const auto expect = [](const std::function<Outcome()>& action, Outcome outcome,
                         const char* icon) {
    Outcome got{};
    EXPECT_EQ(AnswerBoxesDuring([&] { got = action(); }), Lines{BoxFor(outcome, icon)});
    EXPECT_EQ(got, outcome);
  };
  expect([&] { return RunRegister(machine.Get(), user.Get(), kCommand, {}); }, Outcome::Registered,
         "|(i)");
  // Keys added since below the class it made keep the class and its name.
  MakeKey(user.Get(), "Mp3file\\Shell\\open", {});
  // A verb key that holds more than its Command stays.
  MakeKey(user.Get(), VerbKeyPath("Mp3file") + "\\DropTarget", {});
  expect([&] { return RunUnregister(machine.Get(), user.Get(), {}); },
         Outcome::UnregistrationFailed, "|(x)");
  RegDeleteKeyPath(user.Get(), VerbKeyPath("Mp3file") + "\\DropTarget");
  expect([&] { return RunUnregister(machine.Get(), user.Get(), {}); }, Outcome::Unregistered,
         "|(i)");
  EXPECT_FALSE(KeyExists(user.Get(), VerbKeyPath("Mp3file")));
  EXPECT_EQ(RegGetString(user.Get(), ".mp3", ""), "Mp3file");
  expect([&] { return RunRegister(machine.Get(), machine.Get(), kCommand, {}); },
         Outcome::RegistrationFailed, "|(x)");
}

// The program in Wine's own classes roots, first with no ".mp3" at all, then
// with a class whose Shell key has a verb of its own.
TEST(Program, RegistersBothVerbsAndUnregistersToTheKeysItFound) {
  ASSERT_FALSE(KeyExists(HKEY_CLASSES_ROOT, ".mp3") || KeyExists(HKEY_CLASSES_ROOT, "Audio"))
      << "the test would change them";
  const fs::path program =
      fs::path(ID3_FOLDER).make_preferred() / u8"My Tools Ünï 音" / "id3edit.exe";
  const std::wstring command = Quoted(program) + L" \"%1\"";
  for (const std::string file_class : {"Mp3file", "Audio"}) {
    if (file_class == "Audio") MakeKey(HKEY_CLASSES_ROOT, ".mp3", file_class);
    if (file_class == "Audio") MakeKey(HKEY_CLASSES_ROOT, "Audio\\Shell\\open\\command", "x");
    const Lines before = Classes();
    const auto [registering, registered] = RunProgram(Quoted(program) + L" -register");
    EXPECT_EQ(registering.boxes, Lines{BoxFor(Outcome::Registered)});
    EXPECT_EQ(registered + registering.others, 0u);
    for (const std::string& verb : {VerbKeyPath(file_class), SupplementalVerbKeyPath()}) {
      // A string value: the command and its terminating NUL.
      std::wstring stored(command.size() + 2, L'?');
      DWORD type = 0, size = static_cast<DWORD>(stored.size() * sizeof(wchar_t));
      RegQueryValueExW(OpenRegKey(HKEY_CLASSES_ROOT, CommandKeyPath(verb), KEY_READ).get(), nullptr,
                       nullptr, &type, reinterpret_cast<BYTE*>(stored.data()), &size);
      EXPECT_EQ(stored.substr(0, size / 2) + std::to_wstring(type), command + L'\0' + L"1");
    }
    const auto [removing, removed] = RunProgram(Quoted(program) + L" -unregister");
    EXPECT_EQ(removing.boxes, Lines{BoxFor(Outcome::Unregistered)});
    EXPECT_EQ(removed, 0u);
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

  const auto [installing, installed] =
      RunProgram(Quoted(fs::path(ID3_SETUP).make_preferred()) + L" /S");
  EXPECT_EQ(installed + installing.boxes.size() + installing.others, 0u);
  const UniqueHKey user = OpenUserClasses();
  for (const std::string& verb : {VerbKeyPath("Mp3file"), SupplementalVerbKeyPath()})
    EXPECT_EQ(RegGetString(user.get(), CommandKeyPath(verb), ""),
              win::Narrow(Quoted(folder / "id3edit.exe") + L" \"%1\""));
  EXPECT_EQ(RegGetString(HKEY_CURRENT_USER, apps, "UninstallString"),
            win::Narrow(Quoted(folder / "uninstall.exe")));
  // Settings the window would have stored.
  MakeKey(HKEY_CURRENT_USER, settings + "\\General", {});

  // From a copy that stays, as the uninstaller would run from a copy of itself
  // in the temporary folder, left to be deleted when Windows next starts.
  const fs::path copy = fs::path(ID3_FOLDER).make_preferred() / "uninstall.exe";
  fs::copy_file(folder / "uninstall.exe", copy, fs::copy_options::overwrite_existing);
  const auto [uninstalling, uninstalled] = RunProgram(Quoted(copy) + L" /S _?=" + folder.wstring());
  EXPECT_EQ(uninstalled + uninstalling.boxes.size() + uninstalling.others, 0u);
  EXPECT_FALSE(fs::exists(folder));
  ExpectSame(found, Classes());
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, apps) || KeyExists(HKEY_CURRENT_USER, settings));
}

} // namespace
} // namespace id3::startup
