// Twips to pixels, the one rounding rule of every window and control.
#include "wingui/units.h"

#include <gtest/gtest.h>

#include <climits>

namespace id3 {
namespace {

TEST(Units, ConversionsRoundAsTheScreenDoes) {
  // Ten inches at 1 DPI.
  EXPECT_EQ(TwipsToPixels(14400, 1) + TwipsToPixelIndex(14400, 1), 20);
  EXPECT_EQ(TwipsToPixels(30, 120) + TwipsToPixels(90, 120), 2 + 8); // 2.5 and 7.5
  EXPECT_EQ(TwipsToPixels(INT_MIN, INT_MAX), INT_MIN);
  EXPECT_EQ(TwipsToPixelIndex(-1, 96), -1);
  // No resolution, no length.
  EXPECT_EQ(TwipsToPixels(1440, -96) + TwipsToPixelIndex(1440, 0), 0);
}

TEST(Units, CentredStartsRoundHalvesToEven) {
  EXPECT_EQ(CentredStart(0, 1280, 320), 480);
  EXPECT_EQ(CentredStart(0, 1024, 505), 260); // 259.5
  EXPECT_EQ(CentredStart(0, 1024, 507), 258); // 258.5
  EXPECT_EQ(CentredStart(100, 200, 300), 0);  // wider than the room: it stands out on both sides
  EXPECT_EQ(CentredStart(INT_MAX - 1, INT_MAX, 0), INT_MAX - 1); // no overflow
}

} // namespace
} // namespace id3
