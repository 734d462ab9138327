// A 32-bit top-down DIB section selected into a memory DC, for painting into
// and reading the pixels back.
#pragma once

#include "wingui/gdi_win32.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <type_traits>
#include <vector>

namespace id3::test {

class Dib {
public:
  Dib(int width, int height, COLORREF fill = RGB(0, 0, 0)) : width_(width), height_(height) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(info.bmiHeader), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    bitmap_.reset(CreateDIBSection(dc_.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    bits_ = static_cast<std::uint32_t*>(bits);
    selection_.emplace(dc_.get(), bitmap_.get());
    // Filled through the bits, so that no drawing call stands between the
    // pixels a test reads and the ones it set.
    if (bits_) std::fill_n(bits_, width * height, Rgb(fill));
  }

  HDC dc() const { return dc_.get(); }
  // Pixels in [left, right) x [top, bottom) that differ from colour.
  int CountOther(int left, int top, int right, int bottom, COLORREF colour) const {
    const std::vector<std::uint32_t> pixels = Pixels();
    int other = 0;
    for (int y = top; y < bottom; ++y)
      for (int x = left; x < right; ++x)
        other += (pixels[y * width_ + x] & 0xFFFFFF) != Rgb(colour);
    return other;
  }
  // Every pixel as 0x00RRGGBB (the top byte as the bitmap holds it), row by row.
  std::vector<std::uint32_t> Pixels() const {
    if (!bits_) return {};
    GdiFlush();
    return {bits_, bits_ + static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_)};
  }

private:
  static std::uint32_t Rgb(COLORREF c) {
    return GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c);
  }
  int width_;
  int height_;
  std::unique_ptr<std::remove_pointer_t<HDC>, decltype(&DeleteDC)> dc_{CreateCompatibleDC(nullptr),
                                                                       &DeleteDC};
  std::unique_ptr<std::remove_pointer_t<HBITMAP>, gdi::ObjectDeleter> bitmap_;
  std::uint32_t* bits_ = nullptr;
  // Declared last, so that the bitmap is selected out before it is deleted.
  std::optional<gdi::Selection> selection_;
};

} // namespace id3::test
