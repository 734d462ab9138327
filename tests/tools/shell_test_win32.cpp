// The Windows helpers, under Wine here: the user's number format, shortened
// paths, and opening a document with its associated program.
#include "tools/paths.h"
#include "tools/shell_win32.h"

#include "testfs.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

namespace id3 {
namespace {

bool UserLocaleIs(const wchar_t* name) {
  wchar_t buf[LOCALE_NAME_MAX_LENGTH] = {};
  return GetUserDefaultLocaleName(buf, LOCALE_NAME_MAX_LENGTH) > 0 && std::wstring(buf) == name;
}

TEST(FormatFileSizeWin32, EnglishUnitedStates) {
  if (!UserLocaleIs(L"en-US")) GTEST_SKIP() << "the user's locale is not en-US";
  EXPECT_EQ(FormatFileSize(0), "0.00 Bytes");
  EXPECT_EQ(FormatFileSize(1024), "1,024.00 Bytes");
  EXPECT_EQ(FormatFileSize(1536), "1.50 KB");
  EXPECT_EQ(FormatFileSize(1048576), "1,024.00 KB");
  EXPECT_EQ(FormatFileSize(4000000), "3.81 MB");
  EXPECT_EQ(FormatFileSize(1073741824.0 * 1024), "1,024.00 GB");
  EXPECT_EQ(FormatTwoDecimals(-1234.567), "-1,234.57");
  EXPECT_EQ(FormatTwoDecimals(0.5), "0.50");
}

class Dc {
public:
  Dc() : dc_(CreateCompatibleDC(nullptr)) {
    font_ = CreateFontW(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma");
    old_ = SelectObject(dc_, font_);
  }
  ~Dc() {
    SelectObject(dc_, old_);
    DeleteObject(font_);
    DeleteDC(dc_);
  }
  HDC get() const { return dc_; }

private:
  HDC dc_;
  HFONT font_;
  HGDIOBJ old_;
};

TEST(CompactPath, AShortPathStaysAsItIs) {
  const Dc dc;
  EXPECT_EQ(CompactPath("C:\\Music\\song.mp3", 253, dc.get()), "C:\\Music\\song.mp3");
  EXPECT_EQ(CompactPath("", 253, dc.get()), "");
}

TEST(CompactPath, ALongPathGetsAnEllipsis) {
  const Dc dc;
  const std::string path =
      "C:\\Documents and Settings\\Somebody\\My Documents\\My Music\\Some Artist\\"
      "Some Album (Deluxe Edition)\\07 - A Rather Long Song Title.mp3";
  const std::string shown = CompactPath(path, 253, dc.get());
  EXPECT_LT(shown.size(), path.size());
  EXPECT_NE(shown.find("..."), std::string::npos) << shown;
  EXPECT_NE(shown.find("Title.mp3"), std::string::npos) << shown;
  // Narrower still, shorter still.
  EXPECT_LE(CompactPath(path, 120, dc.get()).size(), shown.size());
  // Text beyond the code page survives the round trip.
  const std::string unicode = "C:\\Musik\\Björk – Jóga.mp3";
  EXPECT_EQ(CompactPath(unicode, 400, dc.get()), unicode);
}

TEST(ShellOpenFile, AMissingFileReportsFileNotFound) {
  const test::ScratchDir dir;
  EXPECT_EQ(ShellOpenFile(dir.File("missing.mp3"), "", nullptr, "", ""), ERROR_FILE_NOT_FOUND);
}

TEST(ShellOpenFile, RunsTheDefaultActionOfAnAssociatedType) {
  // A batch file is associated with the command interpreter, which runs it
  // and ends: nothing is left running.
  const test::ScratchDir dir;
  const std::string marker = dir.File("ran.txt");
  const std::string script = dir.File("open me.cmd");
  test::WriteAll(script, test::Bytes{});
  {
    const std::string body = "@echo ran> \"" + marker + "\"\r\n@exit\r\n";
    test::WriteAll(script, test::Bytes(body.begin(), body.end()));
  }
  EXPECT_GT(ShellOpenFile(script, "", nullptr, "", ""), 32);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (!std::filesystem::exists(test::FromU8(marker)) &&
         std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_TRUE(std::filesystem::exists(test::FromU8(marker)));
}

} // namespace
} // namespace id3
