#include "tools/codepage.h"

#include <gtest/gtest.h>

namespace id3 {
namespace {

TEST(CodePage1252, EveryByteReadsAndWritesBackUnchanged) {
  const CodePage cp = CodePage::Windows1252();
  std::string all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  const std::string utf8 = cp.Decode(all);
  EXPECT_EQ(cp.Encode(utf8), all);
  EXPECT_EQ(cp.Decode("\x80\xF6\x9F"), "€öŸ");
}

TEST(CodePage1252, CharactersItLacksBecomeQuestionMarks) {
  const CodePage cp = CodePage::Windows1252();
  EXPECT_EQ(cp.Encode("a☃b曲c"), "a?b?c");
  EXPECT_EQ(cp.Encode("\xFF\xFE"), "??"); // malformed UTF-8
  EXPECT_EQ(cp.Encode("😀"), "?");
}

TEST(CodePageFit, CutsAtWidthWithoutSplittingACharacter) {
  const CodePage cp = CodePage::Windows1252();
  EXPECT_EQ(cp.EncodeFit("Björk Guðmundsdóttir", 4), "Bj\xF6r");
  EXPECT_EQ(cp.EncodeFit("ab", 4), "ab");
  EXPECT_EQ(cp.EncodeFit(std::string(40, 'x'), 30), std::string(30, 'x'));
}

TEST(CodePageNamed, KnowsWindows1252ByItsNamesAndRefusesNonsense) {
  for (const char* name : {"windows-1252", "CP1252", "1252"}) {
    const auto cp = CodePage::Named(name);
    ASSERT_TRUE(cp) << name;
    EXPECT_EQ(cp->Encode("ö"), "\xF6");
  }
  EXPECT_FALSE(CodePage::Named("no-such-code-page"));
}

// A double-byte code page: a character is never cut in half.
TEST(CodePageNamed, DoubleByteCodePage) {
  const auto cp = CodePage::Named("932");
  if (!cp) GTEST_SKIP() << "code page 932 is not available";
  const std::string bytes = cp->EncodeFit("aあい", 4); // 1 + 2 bytes fit, the third char does not
  EXPECT_EQ(bytes.size(), 3u);
  EXPECT_EQ(cp->Decode(bytes), "aあ");
}

TEST(CodePageNamed, OtherSingleByteCodePages) {
  const auto cyrillic = CodePage::Named("1251");
  ASSERT_TRUE(cyrillic);
  EXPECT_EQ(cyrillic->Encode("Ж"), "\xC6");
  EXPECT_EQ(cyrillic->Decode("\xC6"), "Ж");
  EXPECT_EQ(cyrillic->Encode("ö"), "?");
}

TEST(Utf8, CountsAndCutsCodePoints) {
  EXPECT_EQ(utf8::Count("aé☃😀"), 4u);
  EXPECT_EQ(utf8::Prefix("aé☃😀", 2), "aé");
  EXPECT_EQ(utf8::Prefix("ab", 5), "ab");
}

} // namespace
} // namespace id3
