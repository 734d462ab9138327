#include "effects/line3d_layout.h"

#include "wingui/units.h"

namespace id3 {
namespace {

constexpr int kThicknessTwips = 30;
constexpr int kSecondLineTwips = 15;

} // namespace

bool IsLine3dHorizontal(Line3dSize size) { return size.width > size.height; }

Line3dSize SnapLine3dSize(Line3dSize size, bool horizontal, int pixelsPerInchX,
                          int pixelsPerInchY) {
  if (horizontal)
    size.height = TwipsToPixels(kThicknessTwips, pixelsPerInchY);
  else
    size.width = TwipsToPixels(kThicknessTwips, pixelsPerInchX);
  return size;
}

void PlaceLine3dLines(Line3dSize size, bool horizontal, int pixelsPerInchX, int pixelsPerInchY,
                      std::array<LineShape, 2>& lines) {
  if (horizontal) {
    const int second = TwipsToPixelIndex(kSecondLineTwips, pixelsPerInchY);
    lines[0].X1 = lines[1].X1 = 0;
    lines[0].Y1 = lines[0].Y2 = 0;
    lines[1].Y1 = lines[1].Y2 = second;
    lines[0].X2 = lines[1].X2 = size.width;
  } else {
    const int second = TwipsToPixelIndex(kSecondLineTwips, pixelsPerInchX);
    lines[0].Y1 = lines[1].Y1 = 0;
    lines[0].X1 = lines[0].X2 = 0;
    lines[1].X1 = lines[1].X2 = second;
    lines[0].Y2 = lines[1].Y2 = size.height;
  }
  lines[0].Visible = lines[1].Visible = true;
}

} // namespace id3
