// Owners for the GDI handles of the effects and the editor window, the
// screen's resolution and OLE colours. Windows builds only.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <type_traits>
#include <utility>

namespace id3::gdi {

struct ObjectDeleter {
  void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
using UniqueFont = std::unique_ptr<std::remove_pointer_t<HFONT>, ObjectDeleter>;
using UniqueBrush = std::unique_ptr<std::remove_pointer_t<HBRUSH>, ObjectDeleter>;

// A DC from GetDC, released to the window it came from.
class WindowDc {
public:
  explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~WindowDc() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  WindowDc(WindowDc&& other) noexcept
      : window_(other.window_), dc_(std::exchange(other.dc_, nullptr)) {}
  WindowDc& operator=(WindowDc&&) = delete;
  HDC get() const { return dc_; }

private:
  HWND window_;
  HDC dc_;
};

// Keeps an object selected into a DC for a scope, then puts the previous
// one back, so that neither is deleted while selected.
class Selection {
public:
  Selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~Selection() {
    if (previous_ && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
  }
  Selection(const Selection&) = delete;
  Selection& operator=(const Selection&) = delete;
  bool ok() const { return previous_ && previous_ != HGDI_ERROR; }

private:
  HDC dc_;
  HGDIOBJ previous_;
};

struct Resolution {
  int x = 96;
  int y = 96;
};
// The screen's pixels per inch, across and down.
Resolution ScreenResolution();

// An OLE colour (RGB 0x00BBGGRR, or 0x80000000 + COLOR_ index for a system
// colour) as plain RGB, translated without a palette; black when it cannot be
// translated.
COLORREF OleColorToRgb(std::uint32_t color);

} // namespace id3::gdi
