// Length conversions between twips (1/1440 inch), HIMETRIC (0.01 mm) and
// screen pixels at a given resolution. Whole pixels computed from a length
// take the nearest integer, a half going to the even neighbour: one rule for
// every window and control of the program.
#pragma once

#include <cstdint>

namespace id3 {

inline constexpr int kTwipsPerInch = 1440;
inline constexpr int kHimetricPerInch = 2540;

// A HIMETRIC length in pixels: first to whole twips, rounded as MulDiv rounds
// (halves away from zero), then to pixels, halves to the even neighbour. Going
// through twips keeps the result equal to the screen's twips-per-pixel
// arithmetic that picture sizes are measured in elsewhere. A resolution of
// zero or less gives 0.
std::int32_t HimetricToPixels(std::int32_t himetric, int pixelsPerInch);

// A twips length in whole pixels, halves to the even neighbour: at 120 DPI
// 30 twips (2.5 pixels) are 2, 90 twips (7.5 pixels) are 8.
int TwipsToPixels(int twips, int pixelsPerInch);

// The pixel that holds a twips coordinate (rounded down).
int TwipsToPixelIndex(int twips, int pixelsPerInch);

// A pixel position in twips, fractions kept.
float PixelsToTwips(int pixels, int pixelsPerInch);

// Where a length of size starts when it is centred between low and high, in
// whole pixels, halves to the even neighbour.
int CentredStart(int low, int high, int size);

} // namespace id3
