// A 32-bit top-down DIB section selected into a memory DC, for painting into
// and reading the pixels back.
#pragma once

#include "effects/gdi_win32.h"

#include <windows.h>

#include <cstdint>
#include <optional>
#include <vector>

namespace id3::test {

class Dib {
public:
  Dib(int width, int height, COLORREF fill = RGB(0, 0, 0)) : width_(width), height_(height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_.reset(CreateDIBSection(dc_.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    bits_ = static_cast<std::uint32_t*>(bits);
    selection_.emplace(dc_.get(), bitmap_.get());
    // Filled through the bits, so that no drawing call stands between the
    // pixels a test reads and the ones it set.
    const std::uint32_t bgra = (GetRValue(fill) << 16) | (GetGValue(fill) << 8) | GetBValue(fill);
    if (bits_)
      for (int i = 0; i < width * height; ++i) bits_[i] = bgra;
  }

  HDC dc() const { return dc_.get(); }

  // As a COLORREF (0x00BBGGRR).
  COLORREF Pixel(int x, int y) const {
    GdiFlush();
    const std::uint32_t bgra = bits_[y * width_ + x];
    return RGB((bgra >> 16) & 0xFF, (bgra >> 8) & 0xFF, bgra & 0xFF);
  }
  // Pixels in [left, right) x [top, bottom) that differ from colour.
  int CountOther(int left, int top, int right, int bottom, COLORREF colour) const {
    int other = 0;
    for (int y = top; y < bottom; ++y)
      for (int x = left; x < right; ++x) other += Pixel(x, y) != colour ? 1 : 0;
    return other;
  }
  // Every pixel as 0x00RRGGBB, row by row.
  std::vector<std::uint32_t> Pixels() const {
    if (!bits_) return {};
    GdiFlush();
    return {bits_, bits_ + static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_)};
  }

private:
  int width_;
  int height_;
  gdi::UniqueMemoryDc dc_{CreateCompatibleDC(nullptr)};
  gdi::UniqueBitmap bitmap_;
  std::uint32_t* bits_ = nullptr;
  // Declared last, so that the bitmap is selected out before it is deleted.
  std::optional<gdi::Selection> selection_;
};

} // namespace id3::test
