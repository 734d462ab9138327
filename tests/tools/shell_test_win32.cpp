// The Windows helpers, under Wine here: the user's number format, shortened
// paths, and opening a document with its associated program.
#include "tools/paths.h"
#include "tools/shell_win32.h"

#include "testfs.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <memory>
#include <thread>

namespace id3 {
namespace {

TEST(FormatFileSizeWin32, TheUsersNumberFormat) {
  wchar_t locale[LOCALE_NAME_MAX_LENGTH] = {};
  GetUserDefaultLocaleName(locale, LOCALE_NAME_MAX_LENGTH);
  if (std::wstring(locale) != L"en-US") GTEST_SKIP() << "the user's locale is not en-US";
  EXPECT_EQ(FormatFileSize(1024), "1,024.00 Bytes");
  EXPECT_EQ(FormatTwoDecimals(-1234.567), "-1,234.57");
  EXPECT_EQ(FormatTwoDecimals(0.5), "0.50");
}

TEST(CompactPath, ShortensOnlyAPathThatDoesNotFit) {
  // A new memory DC holds the system font.
  const std::unique_ptr<HDC__, decltype(&DeleteDC)> dc(CreateCompatibleDC(nullptr), &DeleteDC);
  for (const std::string fits : {"", "C:\\Music\\song.mp3", "C:\\Musik\\Björk – Jóga.mp3"})
    EXPECT_EQ(CompactPath(fits, 400, dc.get()), fits);
  const std::string path =
      "C:\\Documents and Settings\\Somebody\\My Documents\\My Music\\Some Artist\\"
      "Some Album (Deluxe Edition)\\07 - A Rather Long Song Title.mp3";
  const std::string shown = CompactPath(path, 400, dc.get());
  EXPECT_TRUE(shown.size() < path.size() && shown.find("...") != std::string::npos &&
              shown.ends_with("Title.mp3"))
      << shown;
  EXPECT_LT(CompactPath(path, 150, dc.get()).size(), shown.size());
}

TEST(ShellOpenFile, RunsTheDefaultActionWithItsParametersInItsFolder) {
  const test::ScratchDir dir;
  EXPECT_EQ(ShellOpenFile(dir.File("missing.mp3"), "", nullptr, "", ""), ERROR_FILE_NOT_FOUND);
  // A batch file's default action runs it in the command interpreter, which
  // ends after it: nothing is left running.
  const std::string script = dir.File("open me.cmd"), said = dir.File("said.txt");
  const std::string body = "@echo %~1 %CD%> \"" + said + "\"\r\n";
  test::WriteAll(script, test::Bytes(body.begin(), body.end()));
  const std::string folder = test::U8(dir.Path());
  EXPECT_GT(ShellOpenFile(script, folder, nullptr, "\"two words\"", ""), 32);
  std::string line;
  for (int i = 0; i < 3000 && !line.ends_with("\r\n"); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::ifstream in(test::FromU8(said), std::ios::binary);
    line.assign(std::istreambuf_iterator<char>(in), {});
  }
  EXPECT_EQ(line, "two words " + folder + "\r\n");
}

} // namespace
} // namespace id3
