// Length conversions from twips (1/1440 inch) to screen pixels at a given
// resolution. Whole pixels computed from a length take the nearest integer, a
// half going to the even neighbour: one rule for every window and control of
// the program.
#pragma once

namespace id3 {

inline constexpr int kTwipsPerInch = 1440;

// A twips length in whole pixels, halves to the even neighbour: at 120 DPI
// 30 twips (2.5 pixels) are 2, 90 twips (7.5 pixels) are 8.
int TwipsToPixels(int twips, int pixelsPerInch);

// The pixel that holds a twips coordinate (rounded down).
int TwipsToPixelIndex(int twips, int pixelsPerInch);

// Where a length of size starts when it is centred between low and high, in
// whole pixels, halves to the even neighbour.
int CentredStart(int low, int high, int size);

} // namespace id3
