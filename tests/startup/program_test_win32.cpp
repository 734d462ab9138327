// The program itself under Wine's real HKEY_CLASSES_ROOT, and the installer.
#include "startup/modtools_win32.h"
#include "startup/shellverb_win32.h"
#include "testfs.h"
#include "wintest_win32.h"

#include "tools/wintext_win32.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <string>

namespace id3::startup {
namespace {

namespace fs = std::filesystem;
using test::BoxIcon;
using test::KeyExists;
using test::RunProgram;

const fs::path kProgram = fs::path(ID3_PROGRAM).make_preferred();

std::wstring Quoted(const fs::path& path) { return L"\"" + path.wstring() + L"\""; }

test::RunResult Start(const fs::path& program, const std::wstring& arguments) {
  return RunProgram(Quoted(program) + L" " + arguments);
}

std::string CommandFor(const fs::path& program) {
  return "\"" + test::U8(program.parent_path() / program.stem()) + ".exe\" \"%1\"";
}

// Every test starts and ends with no MP3 class and no verb in either root.
class Program : public ::testing::Test {
protected:
  void SetUp() override { Clean(); }
  void TearDown() override { Clean(); }
  void Clean() {
    for (HKEY root : {HKEY_CLASSES_ROOT, user_.get()})
      for (const wchar_t* key : {L".mp3", L"Mp3file", L"TestAudio"}) RegDeleteTreeW(root, key);
  }
  UniqueHKey user_ = OpenUserClasses();
};

TEST_F(Program, RegistersFromAFolderWithBlanksAndNonAscii) {
  const test::ScratchDir scratch;
  const fs::path program = scratch.Path() / u8"My Tools Ünï 音" / "id3edit.exe";
  fs::create_directories(program.parent_path());
  fs::copy_file(kProgram, program);

  const auto run = Start(program, L"-register");
  EXPECT_EQ(run.exit_code, 0u);
  ASSERT_EQ(run.boxes.size(), 1u);
  EXPECT_EQ(run.boxes[0].text, "Registration complete!\r\n\r\n"
                               "You may now Right-Click on MP3 files to edit their ID3 Tags.");
  EXPECT_EQ(run.boxes[0].caption, "Quelmo ID3TAG EDITOR");
  EXPECT_EQ(run.boxes[0].icon, BoxIcon::Information);
  EXPECT_EQ(run.boxes[0].buttons, std::vector<std::string>{"OK"});
  EXPECT_TRUE(run.windows.empty());

  EXPECT_EQ(RegGetString(HKEY_CLASSES_ROOT, ".mp3", ""), "Mp3file");
  // The stored value: a REG_SZ of the command's UTF-16 text and its NUL.
  const std::wstring command = win::Widen(CommandFor(program));
  const UniqueHKey key = OpenRegKey(HKEY_CLASSES_ROOT, CommandKeyPath("Mp3file"), KEY_READ);
  std::wstring stored(512, L'?');
  DWORD type = 0;
  DWORD size = static_cast<DWORD>(stored.size() * sizeof(wchar_t));
  ASSERT_EQ(RegQueryValueExW(key.get(), nullptr, nullptr, &type,
                             reinterpret_cast<BYTE*>(stored.data()), &size),
            0);
  EXPECT_EQ(type, DWORD{REG_SZ});
  ASSERT_EQ(size, (command.size() + 1) * sizeof(wchar_t));
  stored.resize(command.size() + 1);
  EXPECT_EQ(stored, command + L'\0');
  EXPECT_FALSE(KeyExists(user_.get(), ".mp3")) << "machine-wide write fell back";

  // Removal leaves "Shell", the class and ".mp3"; a second one finds nothing.
  for (int i = 0; i < 2; ++i) {
    const auto removal = Start(program, L"-unregister");
    EXPECT_EQ(removal.exit_code, 0u);
    ASSERT_EQ(removal.boxes.size(), 1u);
    EXPECT_EQ(removal.boxes[0].text, "Registration successfully deleted!");
    EXPECT_EQ(removal.boxes[0].caption, "Quelmo ID3TAG EDITOR");
    EXPECT_EQ(removal.boxes[0].icon, BoxIcon::Information);
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "Mp3file\\Shell\\Edit ID3 Tag"));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, "Mp3file\\Shell"));
    EXPECT_EQ(RegGetString(HKEY_CLASSES_ROOT, ".mp3", ""), "Mp3file");
  }
}

TEST_F(Program, KeepsAnExistingClassAndTheNewestCommand) {
  test::MakeKey(HKEY_CLASSES_ROOT, ".mp3", "TestAudio");
  auto run = Start(kProgram, L"-REGISTER -quiet");
  EXPECT_EQ(run.exit_code, 0u);
  EXPECT_TRUE(run.boxes.empty());
  EXPECT_EQ(RegGetString(HKEY_CLASSES_ROOT, CommandKeyPath("TestAudio"), ""), CommandFor(kProgram));

  // Again from a drive root, with both options: the first one wins.
  const fs::path at_root = L"C:\\Id3Edit.EXE";
  fs::copy_file(kProgram, at_root, fs::copy_options::overwrite_existing);
  run = Start(at_root, L"-unregister -ReGiStEr -quiet");
  fs::remove(at_root);
  EXPECT_EQ(run.exit_code, 0u);
  EXPECT_EQ(RegGetString(HKEY_CLASSES_ROOT, ".mp3", ""), "TestAudio");
  EXPECT_EQ(test::SubKeys(HKEY_CLASSES_ROOT, "TestAudio\\Shell"),
            std::vector<std::string>{"Edit ID3 Tag"});
  EXPECT_EQ(RegGetString(HKEY_CLASSES_ROOT, CommandKeyPath("TestAudio"), ""),
            R"("C:\Id3Edit.exe" "%1")");

  run = Start(kProgram, L"-UnRegister -quiet");
  EXPECT_EQ(run.exit_code, 0u);
  EXPECT_TRUE(run.boxes.empty());
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, VerbKeyPath("TestAudio")));
}

TEST_F(Program, PathsAndNoArgumentsOpenTheWindow) {
  const test::ScratchDir scratch;
  const fs::path folder = scratch.Path() / "My -register folder";
  fs::create_directories(folder);
  const fs::path in_folder = folder / "a.mp3";
  const fs::path named = scratch.Path() / "pre-registered.mp3";
  for (const fs::path& file : {in_folder, named})
    test::WriteAll(test::U8(file), test::Bytes(4096, 0));
  // The arguments, and the file the window shows as open.
  const std::vector<std::pair<std::wstring, std::string>> cases{
      {L"", ""},
      {Quoted(in_folder), "\\a.mp3"},
      {Quoted(named), "\\pre-registered.mp3"},
      {named.wstring() + L" -NOPLAY", "\\pre-registered.mp3"},
  };
  for (const auto& [arguments, shown] : cases) {
    const auto run = Start(kProgram, arguments);
    EXPECT_TRUE(run.boxes.empty()) << win::Narrow(arguments) << ": " << run.boxes[0].text;
    ASSERT_EQ(run.windows.size(), 1u) << win::Narrow(arguments);
    EXPECT_TRUE(run.windows[0].caption.starts_with("Quelmo ID3TAG EDITOR v"));
    std::vector<std::string> files;
    std::ranges::copy_if(run.windows[0].texts, std::back_inserter(files),
                         [](const std::string& text) { return text.ends_with(".mp3"); });
    ASSERT_EQ(files.size(), shown.empty() ? 0u : 1u) << win::Narrow(arguments);
    EXPECT_TRUE(files.empty() || files[0].ends_with(shown)) << files[0];
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, ".mp3")) << win::Narrow(arguments);
  }
}

using Installer = Program;

TEST_F(Installer, InstallsAndUninstallsSilentlyForTheUser) {
  const fs::path folder = fs::path(_wgetenv(L"LOCALAPPDATA")) / "Programs" / "Quelmo ID3TAG EDITOR";
  const std::string apps =
      "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\QuelmoID3TagEditor";
  const std::string settings = "Software\\Quelmo ID3TAG EDITOR";

  auto run = RunProgram(Quoted(fs::path(ID3_SETUP).make_preferred()) + L" /S");
  EXPECT_EQ(run.exit_code, 0u);
  EXPECT_TRUE(run.boxes.empty() && run.windows.empty());
  EXPECT_TRUE(fs::exists(folder / "id3edit.exe"));
  EXPECT_TRUE(fs::exists(folder / "uninstall.exe"));
  EXPECT_EQ(RegGetString(HKEY_CLASSES_ROOT, CommandKeyPath("Mp3file"), ""),
            CommandFor(folder / "id3edit.exe"));
  EXPECT_EQ(RegGetString(HKEY_CURRENT_USER, apps, "DisplayName"), "Quelmo ID3TAG EDITOR");
  EXPECT_EQ(RegGetString(HKEY_CURRENT_USER, apps, "UninstallString"),
            test::U8(Quoted(folder / "uninstall.exe")));
  // Settings the window would have stored.
  test::MakeKey(HKEY_CURRENT_USER, settings + "\\General", "");

  run = RunProgram(Quoted(folder / "uninstall.exe") + L" /S");
  EXPECT_EQ(run.exit_code, 0u);
  EXPECT_TRUE(run.boxes.empty() && run.windows.empty());
  EXPECT_FALSE(fs::exists(folder));
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, VerbKeyPath("Mp3file")));
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, apps));
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, settings));
}

} // namespace
} // namespace id3::startup
