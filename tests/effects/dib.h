// A 32-bit top-down DIB section selected into a memory DC, for painting into
// and reading the pixels back.
#pragma once

#include <windows.h>

#include <cstdint>

namespace id3::test {

class Dib {
public:
  Dib(int width, int height, COLORREF fill) : width_(width) {
    // Filled through the bits, so that no drawing call stands between the
    // pixels a test reads and the ones it set.
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bits_ = static_cast<std::uint32_t*>(bits);
    dc_ = CreateCompatibleDC(nullptr);
    previous_ = SelectObject(dc_, bitmap_);
    const std::uint32_t bgra = (GetRValue(fill) << 16) | (GetGValue(fill) << 8) | GetBValue(fill);
    if (bits_)
      for (int i = 0; i < width * height; ++i) bits_[i] = bgra;
  }
  ~Dib() {
    SelectObject(dc_, previous_);
    DeleteDC(dc_);
    DeleteObject(bitmap_);
  }
  Dib(const Dib&) = delete;
  Dib& operator=(const Dib&) = delete;

  HDC dc() const { return dc_; }

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

private:
  int width_;
  HBITMAP bitmap_ = nullptr;
  std::uint32_t* bits_ = nullptr;
  HDC dc_ = nullptr;
  HGDIOBJ previous_ = nullptr;
};

} // namespace id3::test
