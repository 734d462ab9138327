#include "effects/flagdescription.h"
#include "effects/units.h"

#include <gtest/gtest.h>

#include <string>

namespace id3 {
namespace {

TEST(Units, HimetricToPixelsGoesThroughWholeTwips) {
  EXPECT_EQ(HimetricToPixels(2540, 96), 96); // one inch
  EXPECT_EQ(HimetricToPixels(-2540, 120), -120);
  // 11 HIMETRIC are 6.24 twips, rounded to 6: half a pixel at 120 DPI, and
  // halves go to the even neighbour (a direct conversion gives 0.52, so 1).
  EXPECT_EQ(HimetricToPixels(11, 120), 0);
  EXPECT_EQ(HimetricToPixels(32, 120), 2); // 18 twips, one and a half pixels
  EXPECT_EQ(HimetricToPixels(2540, 0), 0);
  EXPECT_EQ(TwipsToPixels(4305, 96), 287);
  EXPECT_EQ(TwipsToPixels(30, 120), 2);     // 2.5
  EXPECT_EQ(TwipsToPixelIndex(15, 144), 1); // 1.5 lies in pixel 1
  EXPECT_FLOAT_EQ(PixelsToTwips(10, 96), 150.0f);
}

TEST(FlagDescription, NineteenLinesJoinedByCrLf) {
  const std::string text = FlagDescription();
  std::size_t breaks = 0, lineFeeds = 0, returns = 0;
  for (std::size_t at = 0; (at = text.find("\r\n", at)) != std::string::npos; at += 2) ++breaks;
  for (const char c : text) {
    lineFeeds += c == '\n' ? 1 : 0;
    returns += c == '\r' ? 1 : 0;
  }
  EXPECT_EQ(breaks, 18u);
  EXPECT_EQ(lineFeeds, 18u);
  EXPECT_EQ(returns, 18u);
  EXPECT_TRUE(text.starts_with("dwFlags description:\r\nAW_SLIDE\r\nUses slide animation."));
  EXPECT_NE(text.find("\r\nAW_CENTER\r\nMakes the window appear to collapse inward if AW_HIDE is "
                      "used or expand outward if the AW_HIDE is not used.\r\nAW_HOR_POSITIVE\r\n"),
            std::string::npos);
  EXPECT_TRUE(text.ends_with("\r\nAW_VER_NEGATIVE\r\nAnimates the window from bottom to top. This "
                             "flag can be used with roll or slide animation. It is ignored when "
                             "used with AW_CENTER or AW_BLEND."));
}

} // namespace
} // namespace id3
