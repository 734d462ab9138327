// The Windows helpers, under Wine here: the user's number format, shortened
// paths, and opening a document with its associated program.
#include "tools/paths.h"
#include "tools/shell_win32.h"

#include "testfs.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace id3 {
namespace {

TEST(FormatFileSizeWin32, TheUsersNumberFormat) {
  if (GetUserDefaultLCID() != 0x0409) GTEST_SKIP() << "the user's locale is not en-US";
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
  EXPECT_TRUE(shown.size() < path.size() && shown.contains("...") && shown.ends_with("le.mp3"))
      << shown;
  EXPECT_LT(CompactPath(path, 150, dc.get()).size(), shown.size());
}

TEST(ShellOpenFile, RunsTheDefaultAction) {
  const test::ScratchDir dir;
  const std::string said = dir.File("said.txt");
  EXPECT_EQ(ShellOpenFile(dir.File("missing.mp3"), nullptr), ERROR_FILE_NOT_FOUND);
  // A batch file's default action: the command interpreter runs it and ends.
  const std::string body = "@echo opened> \"" + said + "\"\r\n";
  test::WriteAll(dir.File("open me.cmd"), test::Bytes(body.begin(), body.end()));
  EXPECT_GT(ShellOpenFile(dir.File("open me.cmd"), nullptr), 32);
  // The scratch folder goes once the command interpreter has let go of it.
  EXPECT_EQ(test::WaitForLine(said), "opened");
}

} // namespace
} // namespace id3
