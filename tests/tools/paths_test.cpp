// File names, extensions and size texts.
#include "tools/paths.h"

#include <gtest/gtest.h>

#include <locale>

namespace id3 {
namespace {

TEST(FileNameOf, AfterTheLastSeparator) {
  EXPECT_EQ(FileNameOf("C:\\Music\\song.mp3"), "song.mp3");
  EXPECT_EQ(FileNameOf("C:\\Music\\"), "C:\\Music\\");
  EXPECT_EQ(FileNameOf("/home/me/"), "/home/me/");
  EXPECT_EQ(FileNameOf("song.mp3"), "song.mp3");
  EXPECT_EQ(FileNameOf("/home/me/song.mp3"), "song.mp3");
  EXPECT_EQ(FileNameOf("C:\\a/b.mp3"), "a/b.mp3"); // the backslash first
  EXPECT_EQ(FileNameOf("C:/x\\y.mp3"), "y.mp3");
  EXPECT_EQ(FileNameOf(""), "");
  EXPECT_EQ(FileNameOf("C:\\Musik\\Björk – Jóga.mp3"), "Björk – Jóga.mp3");
}

TEST(StripExtension, BeforeTheLastDot) {
  EXPECT_EQ(StripExtension("song.mp3"), "song");
  EXPECT_EQ(StripExtension("a.b.mp3"), "a.b");
  EXPECT_EQ(StripExtension(".mp3"), "");
  EXPECT_EQ(StripExtension("song"), "");
  EXPECT_EQ(StripExtension("C:\\my.dir\\song"), "C:\\my");
  EXPECT_EQ(StripExtension("Jóga.mp3"), "Jóga");
  EXPECT_EQ(StripExtension(""), "");
}

// English (United States) separators and grouping, whatever the machine has.
struct UsPunct : std::numpunct<char> {
  char do_decimal_point() const override { return '.'; }
  char do_thousands_sep() const override { return ','; }
  std::string do_grouping() const override { return "\3"; }
};

// German ones.
struct DePunct : std::numpunct<char> {
  char do_decimal_point() const override { return ','; }
  char do_thousands_sep() const override { return '.'; }
  std::string do_grouping() const override { return "\3"; }
};

TEST(FormatFileSize, UnitsAndTwoDecimals) {
  const std::locale us(std::locale::classic(), new UsPunct);
  EXPECT_EQ(FormatFileSize(0, us), "0.00 Bytes");
  EXPECT_EQ(FormatFileSize(1024, us), "1,024.00 Bytes");
  EXPECT_EQ(FormatFileSize(1025, us), "1.00 KB");
  EXPECT_EQ(FormatFileSize(1536, us), "1.50 KB");
  EXPECT_EQ(FormatFileSize(1048576, us), "1,024.00 KB");
  EXPECT_EQ(FormatFileSize(1048577, us), "1.00 MB");
  EXPECT_EQ(FormatFileSize(4000000, us), "3.81 MB");
  EXPECT_EQ(FormatFileSize(1073741824.0 * 1024, us), "1,024.00 GB");
  EXPECT_EQ(FormatFileSize(1073741824.0 * 1024 * 1024 * 5, us), "5,242,880.00 GB");
}

TEST(FormatFileSize, SeparatorsOfTheLocale) {
  EXPECT_EQ(FormatFileSize(1024, std::locale::classic()), "1024.00 Bytes");
  const std::locale de(std::locale::classic(), new DePunct);
  EXPECT_EQ(FormatFileSize(1024, de), "1.024,00 Bytes");
  EXPECT_EQ(FormatFileSize(4000000, de), "3,81 MB");
}

TEST(FormatFileSize, TheUsersLocaleHasTwoDecimalsAndTheUnit) {
  const std::string text = FormatFileSize(1536);
  ASSERT_GE(text.size(), 7u);
  EXPECT_EQ(text.substr(text.size() - 3), " KB");
  EXPECT_EQ(text.front(), '1');
  EXPECT_EQ(text.substr(2, 2), "50");
}

} // namespace
} // namespace id3
