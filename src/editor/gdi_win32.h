// Owners of the GDI objects the editor window creates. Windows builds only.
#pragma once

#include <windows.h>

#include <utility>

namespace id3::win {

// A font of the window's own; deleted with its owner.
class Font {
public:
  Font() = default;
  explicit Font(HFONT font) : font_(font) {}
  Font(Font &&other) noexcept : font_(std::exchange(other.font_, nullptr)) {}
  Font &operator=(Font &&other) noexcept {
    if (this != &other) {
      Reset();
      font_ = std::exchange(other.font_, nullptr);
    }
    return *this;
  }
  Font(const Font &) = delete;
  Font &operator=(const Font &) = delete;
  ~Font() { Reset(); }

  HFONT Get() const { return font_; }

private:
  void Reset() {
    if (font_) DeleteObject(std::exchange(font_, nullptr));
  }
  HFONT font_ = nullptr;
};

// A window's device context from GetDC, released with its owner.
class WindowDC {
public:
  explicit WindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
  WindowDC(WindowDC &&other) noexcept
      : window_(other.window_), dc_(std::exchange(other.dc_, nullptr)) {}
  WindowDC &operator=(WindowDC &&) = delete;
  WindowDC(const WindowDC &) = delete;
  WindowDC &operator=(const WindowDC &) = delete;
  ~WindowDC() {
    if (dc_) ReleaseDC(window_, dc_);
  }

  HDC Get() const { return dc_; }

private:
  HWND window_;
  HDC dc_;
};

// An object selected into a device context for one scope; the previous one is
// selected back at its end.
class Selection {
public:
  Selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  Selection(const Selection &) = delete;
  Selection &operator=(const Selection &) = delete;
  ~Selection() {
    if (previous_) SelectObject(dc_, previous_);
  }

private:
  HDC dc_;
  HGDIOBJ previous_;
};

} // namespace id3::win
