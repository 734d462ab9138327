#include "effects/line3d_layout.h"

#include <gtest/gtest.h>

#include <array>

namespace id3 {
namespace {

TEST(Line3dProperties, DefaultsAreReadFromAnEmptyBagAndNeverWritten) {
  Line3dProperties p = ReadLine3dProperties(PropertyBag{});
  EXPECT_FALSE(p.Enabled);
  EXPECT_EQ(p.Color1, 0x808080u);
  EXPECT_EQ(p.Color2, 0xFFFFFFu);
  EXPECT_EQ(p.BackColor, 0x8000000Fu);
  PropertyBag bag;
  WriteLine3dProperties(p, bag);
  EXPECT_EQ(bag.Size(), 0u);

  p.Enabled = true;
  p.Color2 = 0x0000FF;
  WriteLine3dProperties(p, bag);
  EXPECT_EQ(bag.Size(), 2u);
  const Line3dProperties back = ReadLine3dProperties(bag);
  EXPECT_TRUE(back.Enabled);
  EXPECT_EQ(back.Color2, 0x0000FFu);
  // Saved again at its default, a colour leaves no stale entry behind.
  p.Color2 = kLine3dDefaultColor2;
  WriteLine3dProperties(p, bag);
  EXPECT_FALSE(bag.Contains("Color2"));
  EXPECT_TRUE(bag.Contains("Enabled"));
}

// 96 DPI is checked on real windows; other resolutions only here.
TEST(Line3dLayout, ThicknessAndSecondLineFollowTheResolution) {
  EXPECT_FALSE(IsLine3dHorizontal({20, 20}));
  EXPECT_EQ(SnapLine3dSize({300, 40}, true, 96, 144), (Line3dSize{300, 3}));
  EXPECT_EQ(SnapLine3dSize({20, 40}, false, 120, 96), (Line3dSize{2, 40}));
  std::array<LineShape, 2> lines{};
  PlaceLine3dLines({300, 3}, true, 96, 144, lines);
  EXPECT_EQ((std::array{lines[1].X1, lines[1].Y1, lines[1].X2, lines[1].Y2}),
            (std::array{0, 1, 300, 1}));
  PlaceLine3dLines({4, 40}, false, 192, 192, lines);
  EXPECT_EQ((std::array{lines[1].X1, lines[1].Y1, lines[1].X2, lines[1].Y2}),
            (std::array{2, 0, 2, 40}));
  EXPECT_EQ(lines[0].X1, 0);
}

} // namespace
} // namespace id3
