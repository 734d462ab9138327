#include "startup/options.h"
#include "startup/regformat.h"
#include "startup/verb.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace id3::startup {
namespace {

TEST(Options, WholeWordsInAnyCase) {
  EXPECT_EQ(ChooseAction("-register").action, Action::Register);
  EXPECT_EQ(ChooseAction("-REGISTER").action, Action::Register);
  EXPECT_EQ(ChooseAction("\t-ReGiStEr  ").action, Action::Register);
  EXPECT_EQ(ChooseAction("-Unregister").action, Action::Unregister);
  // The first test wins, wherever the words stand.
  EXPECT_EQ(ChooseAction("-unregister -register").action, Action::Register);
  EXPECT_EQ(ChooseAction("-register\t-unregister").action, Action::Register);
  EXPECT_EQ(ChooseAction("").action, Action::OpenWindow);
}

TEST(Options, PathsAreNeverOptions) {
  for (const char* text : {
           "C:\\Music\\pre-registered.mp3",
           "\"C:\\Music\\pre-registered.mp3\"",
           "\"C:\\My -register folder\\a.mp3\"",
           "\"C:\\My -unregister folder\\a.mp3\" -noplay",
           "C:\\x-register -noplay",
           "\"-register\"",
           "-register\"\"",
           "--register",
           "-registered",
           "\"C:\\open quote -register",
       })
    EXPECT_EQ(ChooseAction(text).action, Action::OpenWindow) << text;
}

TEST(Options, QuietOnlyBesideAnOption) {
  EXPECT_TRUE(ChooseAction("-register -quiet").quiet);
  EXPECT_TRUE(ChooseAction("-QUIET -unregister").quiet);
  EXPECT_FALSE(ChooseAction("-register").quiet);
  EXPECT_FALSE(ChooseAction("-register \"-quiet\"").quiet);
  EXPECT_FALSE(ChooseAction("C:\\a.mp3 -quiet").quiet);
}

TEST(VerbCommand, QuotedProgramWithExeAndQuotedPlaceholder) {
  EXPECT_EQ(VerbCommand("C:\\Tools\\", "id3edit.exe"), "\"C:\\Tools\\id3edit.exe\" \"%1\"");
  EXPECT_EQ(VerbCommand("C:\\", "ID3EDIT.EXE"), "\"C:\\ID3EDIT.exe\" \"%1\"");
  EXPECT_EQ(VerbCommand("C:\\My Tools\\", "id3edit"), "\"C:\\My Tools\\id3edit.exe\" \"%1\"");
  EXPECT_EQ(VerbCommand("C:\\v1.0\\", "id3.edit.com"), "\"C:\\v1.0\\id3.edit.exe\" \"%1\"");
  EXPECT_EQ(VerbCommand("D:\\Tools", "a.exe"), "\"D:\\Tools\\a.exe\" \"%1\"");
}

TEST(VerbCommand, ModulePathSplitsAfterTheLastBackslash) {
  const auto check = [](const char* full, const char* dir, const char* file) {
    const ModulePath split = SplitModulePath(full);
    EXPECT_EQ(split.dir, dir) << full;
    EXPECT_EQ(split.file, file) << full;
  };
  check("C:\\Program Files\\Tools\\id3edit.exe", "C:\\Program Files\\Tools\\", "id3edit.exe");
  check("C:\\id3edit.exe", "C:\\", "id3edit.exe");
  check("\\\\server\\share\\id3edit.exe", "\\\\server\\share\\", "id3edit.exe");
  check("C:\\Müsik 音\\id3edit.exe", "C:\\Müsik 音\\", "id3edit.exe");
}

TEST(RegFormat, NumbersBytesAndText) {
  using Bytes = std::vector<std::uint8_t>;
  EXPECT_EQ(FormatRegNumber(Bytes{7, 0, 0, 0}), "007");
  EXPECT_EQ(FormatRegNumber(Bytes{0, 0, 0, 0}), "000");
  EXPECT_EQ(FormatRegNumber(Bytes{0xD2, 0x04, 0, 0}), "1234");
  EXPECT_EQ(FormatRegNumber(Bytes{0xFF, 0xFF, 0xFF, 0xFF}), "4294967295");
  EXPECT_EQ(FormatRegNumber(Bytes{0x2A}), "042");
  EXPECT_EQ(FormatRegBytes(Bytes{0x00, 0x0A, 0xFF, 0x5c}), "000AFF5C");
  EXPECT_EQ(FormatRegBytes(Bytes{}), "");

  using namespace std::string_view_literals;
  EXPECT_EQ(CleanRegText("  Mp3file  \0junk"sv), "Mp3file  ");
  EXPECT_EQ(CleanRegText(L"  Mp3file\0"sv), L"Mp3file");
  EXPECT_EQ(CleanRegText("no terminator "sv), "no terminator ");
  EXPECT_EQ(CleanRegText("\0"sv), "");
  EXPECT_EQ(CleanRegText("   "sv), "");
}

} // namespace
} // namespace id3::startup
