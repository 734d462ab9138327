// The portable parts of the window effects: unit conversions, the separator's
// persisted properties and its two lines.
#include "effects/line3d_layout.h"
#include "effects/units.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>

namespace id3 {
namespace {

TEST(Units, ConversionsRoundAsTheScreenDoes) {
  EXPECT_EQ(HimetricToPixels(2540, 96), 96); // one inch
  EXPECT_EQ(HimetricToPixels(-2540, 120), -120);
  // Ten inches at 1 DPI.
  EXPECT_EQ(HimetricToPixels(25400, 1) + TwipsToPixels(14400, 1) + TwipsToPixelIndex(14400, 1), 30);
  // 11 HIMETRIC are 6.24 twips, rounded to 6: half a pixel at 120 DPI, and
  // halves go to the even neighbour (a direct conversion gives 0.52, so 1).
  EXPECT_EQ(HimetricToPixels(11, 120), 0);
  EXPECT_EQ(HimetricToPixels(-32, 120), -2); // 18 twips, one and a half pixels
  EXPECT_EQ(HimetricToPixels(1, 1440), 1);   // 0.57 twips round up, one pixel each
  EXPECT_EQ(TwipsToPixels(30, 120) + TwipsToPixels(90, 120), 2 + 8); // 2.5 and 7.5
  EXPECT_EQ(TwipsToPixels(INT_MIN, INT_MAX), INT_MIN);
  EXPECT_EQ(TwipsToPixelIndex(-1, 96), -1);
  EXPECT_FLOAT_EQ(PixelsToTwips(1, 7), 1440.0f / 7);
  // No resolution, no length.
  EXPECT_EQ(HimetricToPixels(2540, -96) + TwipsToPixels(1440, -96) + TwipsToPixelIndex(1440, 0), 0);
  EXPECT_EQ(PixelsToTwips(10, 0), 0.0f);
}

TEST(Units, CentredStartsRoundHalvesToEven) {
  EXPECT_EQ(CentredStart(0, 1280, 320), 480);
  EXPECT_EQ(CentredStart(0, 1024, 505), 260); // 259.5
  EXPECT_EQ(CentredStart(0, 1024, 507), 258); // 258.5
  EXPECT_EQ(CentredStart(100, 200, 300), 0);  // wider than the room: it stands out on both sides
  EXPECT_EQ(CentredStart(INT_MAX - 1, INT_MAX, 0), INT_MAX - 1); // no overflow
}

std::array<std::uint32_t, 4> All(const Line3dProperties& p) {
  return {p.Enabled ? 1u : 0u, p.Color1, p.Color2, p.BackColor};
}

TEST(Line3dProperties, OnlyValuesOffTheirDefaultsAreWritten) {
  PropertyBag bag;
  WriteLine3dProperties({true, 1, kLine3dDefaultColor2, 3}, bag);
  EXPECT_TRUE(bag.Size() == 3 && !bag.Contains("Color2"));
  EXPECT_EQ(All(ReadLine3dProperties(bag)), (std::array{1u, 1u, 0xFFFFFFu, 3u}));
  // Saved again at their defaults, the values leave no stale entries behind.
  WriteLine3dProperties({}, bag);
  EXPECT_EQ(bag.Size(), 0u);
  EXPECT_EQ(All(ReadLine3dProperties(bag)), (std::array{0u, 0x808080u, 0xFFFFFFu, 0x8000000Fu}));
}

// Where the lines go, as X1, Y1, X2, Y2 of each. 96 DPI is checked on real
// windows too; other resolutions, and different ones across and down, only here.
TEST(Line3dLayout, ThicknessAndLinesFollowTheResolution) {
  EXPECT_TRUE(IsLine3dHorizontal({21, 20}) && !IsLine3dHorizontal({20, 20}));
  EXPECT_EQ(SnapLine3dSize({300, 40}, true, 96, 144), (Line3dSize{300, 3}));
  EXPECT_EQ(SnapLine3dSize({20, 40}, false, 120, 96), (Line3dSize{2, 40}));
  const auto place = [](Line3dSize size, bool horizontal) {
    std::array<LineShape, 2> l;
    l.fill({9, 9, 9, 9, 0, false}); // what an earlier layout left
    PlaceLine3dLines(size, horizontal, 192, 180, l);
    EXPECT_TRUE(l[0].Visible && l[1].Visible);
    return std::array{l[0].X1, l[0].Y1, l[0].X2, l[0].Y2, l[1].X1, l[1].Y1, l[1].X2, l[1].Y2};
  };
  EXPECT_EQ(place({300, 3}, true), (std::array{0, 0, 300, 0, 0, 1, 300, 1}));
  EXPECT_EQ(place({4, 40}, false), (std::array{0, 0, 0, 40, 2, 0, 2, 40}));
}

} // namespace
} // namespace id3
