#include "wingui/units.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace id3 {
namespace {

std::int32_t ClampToInt32(double value) {
  constexpr double low = std::numeric_limits<std::int32_t>::min();
  constexpr double high = std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(std::clamp(value, low, high));
}

// std::nearbyint rounds halves to even in the default rounding mode.
double RoundHalfEven(double value) { return std::nearbyint(value); }

} // namespace

int TwipsToPixels(int twips, int pixelsPerInch) {
  if (pixelsPerInch <= 0) return 0;
  return ClampToInt32(RoundHalfEven(static_cast<double>(twips) * pixelsPerInch / kTwipsPerInch));
}

int TwipsToPixelIndex(int twips, int pixelsPerInch) {
  if (pixelsPerInch <= 0) return 0;
  return ClampToInt32(std::floor(static_cast<double>(twips) * pixelsPerInch / kTwipsPerInch));
}

int CentredStart(int low, int high, int size) {
  return ClampToInt32(
      RoundHalfEven((static_cast<double>(low) + high - static_cast<double>(size)) / 2));
}

} // namespace id3
