// What the etched separator is, apart from its window: its colours and where
// its two one-pixel lines go.
#pragma once

#include <array>
#include <cstdint>

namespace id3 {

// Colours are OLE colour values: RGB (0x00BBGGRR) or, with the top bit set, a
// system colour (0x80000000 + COLOR_ index).
inline constexpr std::uint32_t kLine3dShadowColor = 0x808080;    // dark grey
inline constexpr std::uint32_t kLine3dHighlightColor = 0xFFFFFF; // white
inline constexpr std::uint32_t kLine3dBackColor = 0x8000000F;    // button face

// One line shape on the control surface, in pixels. The end point lies just
// past the last pixel drawn, so a line from 0 to the width covers the width.
struct LineShape {
  int X1 = 0;
  int Y1 = 0;
  int X2 = 0;
  int Y2 = 0;
  std::uint32_t BorderColor = 0;
  bool Visible = false;
};

struct Line3dSize {
  int width = 0;
  int height = 0;
  friend bool operator==(const Line3dSize&, const Line3dSize&) = default;
};

// Horizontal when wider than high; a square control counts as vertical.
bool IsLine3dHorizontal(Line3dSize size);

// The size the control takes: 30 twips thick across its direction, its
// length unchanged.
Line3dSize SnapLine3dSize(Line3dSize size, bool horizontal, int pixelsPerInchX, int pixelsPerInchY);

// Places both lines along the whole length of a control of the given size
// and shows them: line 0 on the first pixel row (or column), line 1 on the
// one holding the 15-twip mark. Colours stay as they are.
void PlaceLine3dLines(Line3dSize size, bool horizontal, int pixelsPerInchX, int pixelsPerInchY,
                      std::array<LineShape, 2>& lines);

} // namespace id3
