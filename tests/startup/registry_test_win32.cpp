// The registry functions, registration in scratch roots, the real program.
#include "registry_win32.h"
#include "startup/shellverb_win32.h"
#include "testfs.h"
#include "windriver_win32.h"

#include "tools/wintext_win32.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <optional>
#include <process.h>

namespace id3::startup {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;
constexpr std::string_view kCommand = R"("C:\Tools\id3edit.exe" "%1")";
const fs::path kFolder = fs::path(ID3_FOLDER).make_preferred();

std::wstring Quoted(const fs::path& path) { return L"\"" + path.wstring() + L"\""; }

using test::BoxIcon;
using test::RegistryScope;
using Boxes = std::vector<test::BoxSeen>;

// The box of an outcome, as the user sees it.
test::BoxSeen Box(std::wstring text, BoxIcon icon) {
  return {L"Quelmo ID3TAG EDITOR", std::move(text), icon, {L"OK"}};
}
const test::BoxSeen kRegistered =
    Box(L"Registration complete!\r\n\r\n"
        L"You may now Right-Click on MP3 files to edit their ID3 Tags.",
        BoxIcon::Information);
const test::BoxSeen kUnregistered =
    Box(L"Registration successfully deleted!", BoxIcon::Information);

// What shows while a program runs to its end, with exit code 0.
Boxes RunShown(const fs::path& exe, const wchar_t* option, const wchar_t* more = nullptr) {
  return test::AnswerBoxesDuring([&] {
    EXPECT_EQ(_wspawnl(_P_WAIT, exe.c_str(), Quoted(exe).c_str(), option, more, nullptr), 0);
  });
}

bool KeyExists(HKEY root, const std::string& path) {
  return OpenRegKey(root, path, KEY_READ) != nullptr;
}

// Keys and values below root\path as saved (a walk of the machine's classes
// takes seconds), without the times of change. Volatile keys are not saved.
Lines Saved(HKEY root, const std::string& path) {
  static const bool may_save = [] {
    HANDLE raw = nullptr;
    OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES, &raw);
    TOKEN_PRIVILEGES backup{1, {{{}, SE_PRIVILEGE_ENABLED}}};
    return LookupPrivilegeValueW(nullptr, SE_BACKUP_NAME, &backup.Privileges[0].Luid) &&
           AdjustTokenPrivileges(
               std::unique_ptr<void, decltype(&CloseHandle)>(raw, CloseHandle).get(), FALSE,
               &backup, 0, nullptr, nullptr);
  }();
  const UniqueHKey key = OpenRegKey(root, path, KEY_READ);
  if (!key) return {};
  const test::ScratchDir dir;
  EXPECT_TRUE(may_save && RegSaveKeyW(key.get(), (dir.Path() / "k").c_str(), nullptr) == 0);
  std::ifstream in(dir.Path() / "k");
  Lines lines;
  bool past_header = false;
  for (std::string line; std::getline(in, line);)
    if ((past_header = past_header || line.starts_with('[')) && !line.starts_with("#time="))
      lines.push_back(line.substr(0, line.starts_with('[') ? line.rfind(']') + 1 : line.npos));
  // A new prefix has no HKCU\Software\Classes; the empty key that registration leaves
  // holds the same as none.
  if (lines == Lines{"[]", ""} || lines == Lines{"[]"}) return {};
  return lines;
}

Lines Classes() {
  Lines lines = Saved(HKEY_LOCAL_MACHINE, "Software\\Classes");
  std::ranges::copy(Saved(HKEY_CURRENT_USER, "Software\\Classes"), std::back_inserter(lines));
  return lines;
}

void ExpectSame(const Lines& before, const Lines& after) {
  const auto [was, is] = std::ranges::mismatch(before, after);
  EXPECT_TRUE(was == before.end() && is == after.end())
      << "first change: " << (was != before.end() ? *was : "") << " / "
      << (is != after.end() ? *is : "");
}

// A scratch key below HKEY_CURRENT_USER\Software for a classes root.
RegistryScope TestRoot(const wchar_t* name, bool refusing) {
  return {HKEY_CURRENT_USER, std::wstring(L"Software\\Id3StartupTest ") + name,
          refusing ? RegistryScope::Start::EmptyVolatile : RegistryScope::Start::Empty};
}

// 2048 bytes with the NUL still fit, two more do not: strings are stored with
// their NUL. A key is deleted only without sub-keys, and never the root.
TEST(RegPath, ReadsWritesAndDeletesRealKeys) {
  const RegistryScope root = TestRoot(L"modtools", false);
  RegWriteValue(root, "a\\b", "fits", REG_SZ, std::string(1023, 'x'));
  RegWriteValue(root, "a\\b", "long", REG_SZ, std::string(1024, 'x'));
  RegWriteValue(root, "a", "", REG_DWORD, std::uint32_t{7});
  EXPECT_EQ(RegGetString(root, "a\\b", "fits") + RegGetString(root, "a\\b", "long"),
            std::string(1023, 'x'));
  EXPECT_EQ(RegGetString(root, "a", ""), ""); // not a string
  EXPECT_TRUE(RegDeleteKeyPath(root, "a") != 0 && RegDeleteKeyPath(root, "") != 0);
  EXPECT_TRUE(RegDeleteKeyPath(root, "a\\b") == 0 && KeyExists(root, "a"));
}

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
      {false, false, kMachine, "Mp3file", {{".mp3\\x", {}}, {"Mp3file\\Shell", {}}}, {}},
      {false, false, kMachine, "Mp3file", {{".mp3", ""}, {"SystemFileAssociations", {}}}, {}},
      {false, false, kMachine, "Mp3file", {{"SystemFileAssociations\\.mp3\\shell\\a", "x"}}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.machine_keys) + testing::PrintToString(c.user_keys));
    const RegistryScope machine = TestRoot(L"machine", c.machine_refuses),
                        user = TestRoot(L"user", false);
    for (const auto& [path, value] : c.machine_keys) machine.Make(path, value);
    for (const auto& [path, value] : c.user_keys) user.Make(path, value);
    const Lines before = Saved(HKEY_CURRENT_USER, "Software");
    // Twice: the second time must not take its own keys for ones found.
    for (int i = 0; i < 2; ++i)
      EXPECT_EQ(RegisterVerb(machine, user, kCommand, c.user_only), c.placement);
    const HKEY place = c.placement == kUser ? user : machine;
    for (const std::string& verb : {VerbKeyPath(c.file_class), SupplementalVerbKeyPath()})
      EXPECT_EQ(RegGetString(place, CommandKeyPath(verb), ""), kCommand);
    EXPECT_TRUE(UnregisterVerb(machine, user, c.user_only));
    ExpectSame(before, Saved(HKEY_CURRENT_USER, "Software"));
    // A refusing place's keys are volatile, which are never saved.
    for (const auto& [path, value] : c.machine_keys)
      EXPECT_EQ(RegGetString(machine, path, ""), value.value_or("")) << path;
  }
}

TEST(Registration, TellsTheOutcomeInABox) {
  const RegistryScope machine = TestRoot(L"machine", true), user = TestRoot(L"user", false);
  const auto expect = [](const test::BoxSeen& box, const std::function<Outcome()>& run,
                         Outcome outcome) {
    EXPECT_EQ(test::AnswerBoxesDuring([&] { EXPECT_EQ(run(), outcome); }), Boxes{box});
  };
  expect(
      kRegistered, [&] { return RunRegister(machine, user, kCommand, {}); }, Outcome::Registered);
  // Added since: a value to the class it made (which keeps it), a key below the verb (which stays).
  user.Make("Mp3file", "MP3 audio");
  user.Make(VerbKeyPath("Mp3file") + "\\DropTarget");
  expect(
      Box(L"Registration could not be deleted!", BoxIcon::Critical),
      [&] { return RunUnregister(machine, user, {}); }, Outcome::UnregistrationFailed);
  RegDeleteKeyPath(user, VerbKeyPath("Mp3file") + "\\DropTarget");
  expect(
      kUnregistered, [&] { return RunUnregister(machine, user, {}); }, Outcome::Unregistered);
  EXPECT_FALSE(KeyExists(user, "Mp3file\\Shell"));
  EXPECT_EQ(RegGetString(user, ".mp3", "") + RegGetString(user, "Mp3file", ""), "Mp3fileMP3 audio");
  expect(
      Box(L"Registration failed!", BoxIcon::Critical),
      [&] { return RunRegister(machine, machine, kCommand, {}); }, Outcome::RegistrationFailed);
}

// The program in Wine's own classes roots, which hold no ".mp3" class.
TEST(Program, RegistersBothVerbsAndUnregistersToTheKeysItFound) {
  const fs::path program = kFolder / u8"My Tools Ünï 音" / "id3edit.exe";
  const Lines before = Classes();
  EXPECT_EQ(RunShown(program, L"-register"), Boxes{kRegistered});
  for (const std::string& verb : {VerbKeyPath("Mp3file"), SupplementalVerbKeyPath()})
    EXPECT_EQ(RegGetString(HKEY_CLASSES_ROOT, CommandKeyPath(verb), ""),
              win::Narrow(Quoted(program)) + " \"%1\"");
  EXPECT_EQ(RunShown(program, L"-unregister"), Boxes{kUnregistered});
  ExpectSame(before, Classes());
}

TEST(Installer, InstallsAndUninstallsSilentlyForTheUser) {
  const fs::path folder = fs::path(_wgetenv(L"LOCALAPPDATA")) / "Programs" / "Quelmo ID3TAG EDITOR";
  const std::string apps =
      "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\QuelmoID3TagEditor";
  const std::string settings = "Software\\Quelmo ID3TAG EDITOR";
  const Lines found = Classes();
  EXPECT_EQ(RunShown(fs::path(ID3_SETUP).make_preferred(), L"/S"), Boxes{});
  const UniqueHKey user = OpenUserClasses();
  for (const std::string& verb : {VerbKeyPath("Mp3file"), SupplementalVerbKeyPath()})
    EXPECT_EQ(RegGetString(user.get(), CommandKeyPath(verb), ""),
              win::Narrow(Quoted(folder / "id3edit.exe") + L" \"%1\""));
  EXPECT_EQ(RegGetString(HKEY_CURRENT_USER, apps, "UninstallString"),
            win::Narrow(Quoted(folder / "uninstall.exe")));
  const RegistryScope settings_key(HKEY_CURRENT_USER, win::Widen(settings),
                                   RegistryScope::Start::Empty);
  settings_key.Make("General");
  // From a copy that stays, as the uninstaller would run from a copy of itself
  // in the temporary folder, left to be deleted when Windows next starts.
  fs::copy_file(folder / "uninstall.exe", kFolder / "uninstall.exe",
                fs::copy_options::overwrite_existing);
  EXPECT_EQ(RunShown(kFolder / "uninstall.exe", L"/S", (L"_?=" + folder.wstring()).c_str()),
            Boxes{});
  EXPECT_FALSE(fs::exists(folder));
  ExpectSame(found, Classes());
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, apps) || KeyExists(HKEY_CURRENT_USER, settings));
}

} // namespace
} // namespace id3::startup
