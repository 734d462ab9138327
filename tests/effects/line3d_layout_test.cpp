#include "effects/line3d_layout.h"

#include <gtest/gtest.h>

#include <array>

namespace id3 {
namespace {

TEST(Line3dProperties, DefaultsComeFromAnEmptyBagAndAreNotWritten) {
  const PropertyBag empty;
  const Line3dProperties read = ReadLine3dProperties(empty);
  EXPECT_FALSE(read.Enabled);
  EXPECT_EQ(read.Color1, 0x808080u);
  EXPECT_EQ(read.Color2, 0xFFFFFFu);
  EXPECT_EQ(read.BackColor, 0x8000000Fu);

  PropertyBag saved;
  WriteLine3dProperties(read, saved);
  EXPECT_EQ(saved.Size(), 0u);
  EXPECT_FALSE(saved.Contains("Color1"));
  EXPECT_FALSE(saved.Contains("Color2"));
}

TEST(Line3dProperties, ChangedValuesRoundTripAndDefaultsDropOut) {
  Line3dProperties changed;
  changed.Enabled = true;
  changed.Color2 = 0x0000FF;
  PropertyBag bag;
  WriteLine3dProperties(changed, bag);
  EXPECT_EQ(bag.Size(), 2u);
  EXPECT_EQ(bag.ReadProperty("Enabled", 0), 1u);
  EXPECT_EQ(bag.ReadProperty("Color2", 0xFFFFFF), 0x0000FFu);
  const Line3dProperties back = ReadLine3dProperties(bag);
  EXPECT_TRUE(back.Enabled);
  EXPECT_EQ(back.Color1, 0x808080u);
  EXPECT_EQ(back.Color2, 0x0000FFu);

  // Saving again with the colour back at its default leaves no stale entry.
  changed.Color2 = kLine3dDefaultColor2;
  WriteLine3dProperties(changed, bag);
  EXPECT_FALSE(bag.Contains("Color2"));
  EXPECT_TRUE(bag.Contains("Enabled"));
}

TEST(Line3dLayout, HorizontalWhenWiderThanHighOtherwiseVertical) {
  EXPECT_TRUE(IsLine3dHorizontal({287, 2}));
  EXPECT_TRUE(IsLine3dHorizontal({287, 200}));
  EXPECT_FALSE(IsLine3dHorizontal({20, 20}));
  EXPECT_FALSE(IsLine3dHorizontal({2, 40}));

  EXPECT_EQ(SnapLine3dSize({287, 13}, true, 96, 96), (Line3dSize{287, 2}));
  EXPECT_EQ(SnapLine3dSize({20, 20}, false, 96, 96), (Line3dSize{2, 20}));
  EXPECT_EQ(SnapLine3dSize({20, 40}, false, 144, 96), (Line3dSize{3, 40}));
}

TEST(Line3dLayout, LinesSpanTheLengthOnePixelApart) {
  std::array<LineShape, 2> lines{};
  lines[0].BorderColor = 1;
  lines[1].BorderColor = 2;
  PlaceLine3dLines({287, 2}, true, 96, 96, lines);
  EXPECT_EQ((std::array{lines[0].X1, lines[0].Y1, lines[0].X2, lines[0].Y2}),
            (std::array{0, 0, 287, 0}));
  EXPECT_EQ((std::array{lines[1].X1, lines[1].Y1, lines[1].X2, lines[1].Y2}),
            (std::array{0, 1, 287, 1}));
  EXPECT_TRUE(lines[0].Visible && lines[1].Visible);
  EXPECT_EQ(lines[0].BorderColor, 1u);
  EXPECT_EQ(lines[1].BorderColor, 2u);

  PlaceLine3dLines({2, 20}, false, 96, 96, lines);
  EXPECT_EQ((std::array{lines[0].X1, lines[0].Y1, lines[0].X2, lines[0].Y2}),
            (std::array{0, 0, 0, 20}));
  EXPECT_EQ((std::array{lines[1].X1, lines[1].Y1, lines[1].X2, lines[1].Y2}),
            (std::array{1, 0, 1, 20}));
}

} // namespace
} // namespace id3
