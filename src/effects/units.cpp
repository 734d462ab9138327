#include "effects/units.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace id3 {
namespace {

// value * numerator / denominator, rounded halves away from zero, as the
// platform's MulDiv rounds.
std::int64_t MulDivRounded(std::int64_t value, std::int64_t numerator, std::int64_t denominator) {
  const std::int64_t product = value * numerator;
  const std::int64_t half = denominator / 2;
  return product >= 0 ? (product + half) / denominator : (product - half) / denominator;
}

std::int32_t ClampToInt32(double value) {
  constexpr double low = std::numeric_limits<std::int32_t>::min();
  constexpr double high = std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(std::clamp(value, low, high));
}

// std::nearbyint rounds halves to even in the default rounding mode.
double RoundHalfEven(double value) { return std::nearbyint(value); }

} // namespace

std::int32_t HimetricToPixels(std::int32_t himetric, int pixelsPerInch) {
  if (pixelsPerInch <= 0) return 0;
  const std::int64_t twips = MulDivRounded(himetric, kTwipsPerInch, kHimetricPerInch);
  const double twipsPerPixel = static_cast<double>(kTwipsPerInch) / pixelsPerInch;
  return ClampToInt32(RoundHalfEven(static_cast<double>(twips) / twipsPerPixel));
}

int TwipsToPixels(int twips, int pixelsPerInch) {
  if (pixelsPerInch <= 0) return 0;
  return ClampToInt32(RoundHalfEven(static_cast<double>(twips) * pixelsPerInch / kTwipsPerInch));
}

int TwipsToPixelIndex(int twips, int pixelsPerInch) {
  if (pixelsPerInch <= 0) return 0;
  return ClampToInt32(std::floor(static_cast<double>(twips) * pixelsPerInch / kTwipsPerInch));
}

float PixelsToTwips(int pixels, int pixelsPerInch) {
  if (pixelsPerInch <= 0) return 0.0f;
  return static_cast<float>(static_cast<double>(pixels) * kTwipsPerInch / pixelsPerInch);
}

int CentredStart(int low, int high, int size) {
  return ClampToInt32(
      RoundHalfEven((static_cast<double>(low) + high - static_cast<double>(size)) / 2));
}

} // namespace id3
