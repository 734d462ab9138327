#include "effects/flagdescription.h"
#include "effects/units.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <vector>

namespace id3 {
namespace {

TEST(Units, HimetricToPixelsGoesThroughWholeTwips) {
  EXPECT_EQ(HimetricToPixels(2540, 96), 96); // one inch
  EXPECT_EQ(HimetricToPixels(2540, 120), 120);
  EXPECT_EQ(HimetricToPixels(-2540, 96), -96);
  EXPECT_EQ(HimetricToPixels(0, 96), 0);
  // 11 HIMETRIC are 6.24 twips, rounded to 6: half a pixel at 120 DPI, and
  // halves go to the even neighbour (a direct conversion gives 0.52, so 1).
  // 32 HIMETRIC are 18 twips, one and a half pixels.
  EXPECT_EQ(HimetricToPixels(11, 120), 0);
  EXPECT_EQ(HimetricToPixels(32, 120), 2);
  EXPECT_EQ(HimetricToPixels(14, 96), 1); // 7.94 twips -> 8 -> 0.53 pixel
  EXPECT_EQ(HimetricToPixels(2540, 0), 0);
}

TEST(Units, TwipsAndPixels) {
  EXPECT_EQ(TwipsToPixels(30, 96), 2);
  EXPECT_EQ(TwipsToPixels(4305, 96), 287);
  EXPECT_EQ(TwipsToPixels(30, 120), 2); // 2.5, halves to even
  EXPECT_EQ(TwipsToPixels(30, 144), 3);
  EXPECT_EQ(TwipsToPixelIndex(15, 96), 1);
  EXPECT_EQ(TwipsToPixelIndex(15, 144), 1); // 1.5 lies in pixel 1
  EXPECT_EQ(TwipsToPixelIndex(14, 96), 0);
  EXPECT_FLOAT_EQ(PixelsToTwips(10, 96), 150.0f);
  EXPECT_FLOAT_EQ(PixelsToTwips(1, 120), 12.0f);
}

std::vector<std::string> SplitCrLf(const std::string &text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t at; (at = text.find("\r\n", start)) != std::string::npos; start = at + 2)
    lines.push_back(text.substr(start, at - start));
  lines.push_back(text.substr(start));
  return lines;
}

TEST(FlagDescription, NineteenLinesFlagThenMeaning) {
  const std::string text = FlagDescription();
  const std::vector<std::string> lines = SplitCrLf(text);
  ASSERT_EQ(lines.size(), 19u);
  EXPECT_EQ(text.find('\n'), text.find("\r\n") + 1); // no bare line feeds...
  for (const std::string &line : lines) {
    EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << line; // ...nor bare returns
    EXPECT_FALSE(line.empty());
  }
  EXPECT_EQ(lines[0], "dwFlags description:");
  const std::vector<std::string> flags = {"AW_SLIDE",        "AW_ACTIVATE",     "AW_BLEND",
                                          "AW_HIDE",         "AW_CENTER",       "AW_HOR_POSITIVE",
                                          "AW_HOR_NEGATIVE", "AW_VER_POSITIVE", "AW_VER_NEGATIVE"};
  for (std::size_t i = 0; i < flags.size(); ++i)
    EXPECT_EQ(lines[1 + 2 * i], flags[i]);
  EXPECT_EQ(lines[18], "Animates the window from bottom to top. This flag can be used with roll or "
                       "slide animation. It is ignored when used with AW_CENTER or AW_BLEND.");
  EXPECT_EQ(lines[10], "Makes the window appear to collapse inward if AW_HIDE is used or expand "
                       "outward if the AW_HIDE is not used.");
}

} // namespace
} // namespace id3
