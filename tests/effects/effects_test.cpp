// The portable part of the separator: its thickness and its two lines.
#include "effects/line3d_layout.h"

#include <gtest/gtest.h>

#include <array>

namespace id3 {
namespace {

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
