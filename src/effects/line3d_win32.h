// line3d, the etched separator: two one-pixel lines side by side, dark grey
// with white below it, lying horizontally when the control is wider than high
// and vertically otherwise. The control keeps itself 30 twips thick (2 pixels
// at 96 DPI) across its direction, whatever size its parent gives it; its
// length is the parent's to choose. Twips are taken at the DPI of the window
// it sits in (win::WindowDpi), and laid out again when that window moves to
// another DPI.
#pragma once

#include "effects/line3d_layout.h"
#include "wingui/window_win32.h"

#include <windows.h>

#include <array>

namespace id3 {

inline constexpr wchar_t kLine3dClassName[] = L"line3d";

// Creates a separator as a child of parent at the given pixel rectangle.
HWND CreateLine3d(HWND parent, int id, int x, int y, int width, int height);

// The control behind a line3d window; it lives as long as its window.
class Line3d {
public:
  Line3d(const Line3d&) = delete;
  Line3d& operator=(const Line3d&) = delete;

private:
  friend HWND CreateLine3d(HWND, int, int, int, int, int);
  friend LRESULT CALLBACK win::ObjectWindowProc<Line3d>(HWND, UINT, WPARAM, LPARAM);

  explicit Line3d(HWND window);
  static ATOM ClassAtom();
  // The window's procedure (win::ObjectWindowProc).
  static Line3d* Attach(HWND window, const CREATESTRUCTW& create);
  LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT Default(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void Detach();

  void Layout();
  void Paint(HDC dc) const;

  HWND window_;
  std::array<LineShape, 2> lines_{};
};

} // namespace id3
