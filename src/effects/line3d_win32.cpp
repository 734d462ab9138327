#include "effects/line3d_win32.h"

#include "wingui/gdi_win32.h"
#include "wingui/units.h"
#include "wingui/window_win32.h"

#include <algorithm>
#include <memory>

namespace id3 {
namespace {

Line3dSize ClientSize(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  return {client.right - client.left, client.bottom - client.top};
}

// The pixels a line shape covers: one pixel wide across its direction, its
// end point just past the last pixel.
RECT LineRect(const LineShape& line) {
  return {std::min(line.X1, line.X2), std::min(line.Y1, line.Y2),
          std::max(line.X1, line.X2) + (line.X1 == line.X2 ? 1 : 0),
          std::max(line.Y1, line.Y2) + (line.Y1 == line.Y2 ? 1 : 0)};
}

void FillSolid(HDC dc, const RECT& rect, std::uint32_t oleColor) {
  const gdi::UniqueBrush brush(CreateSolidBrush(gdi::OleColorToRgb(oleColor)));
  if (brush) FillRect(dc, &rect, brush.get());
}

class PaintScope {
public:
  explicit PaintScope(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
  ~PaintScope() { EndPaint(window_, &paint_); }
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;
  HDC dc() const { return dc_; }

private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

} // namespace

HWND CreateLine3d(HWND parent, int id, int x, int y, int width, int height) {
  if (Line3d::ClassAtom() == 0) return nullptr;
  return CreateWindowExW(0, kLine3dClassName, L"", WS_CHILD | WS_VISIBLE, x, y, width, height,
                         parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         GetModuleHandleW(nullptr), nullptr);
}

ATOM Line3d::ClassAtom() {
  static const ATOM atom =
      win::RegisterWindowClass({kLine3dClassName, &win::ObjectWindowProc<Line3d>});
  return atom;
}

Line3d::Line3d(HWND window) : window_(window) {
  lines_[0].BorderColor = kLine3dShadowColor;
  lines_[1].BorderColor = kLine3dHighlightColor;
}

void Line3d::Layout() {
  lines_[0].Visible = lines_[1].Visible = false;
  const int dpi = win::WindowDpi(window_);
  const Line3dSize size = ClientSize(window_);
  const bool horizontal = IsLine3dHorizontal(size);
  const Line3dSize snapped = SnapLine3dSize(size, horizontal, dpi, dpi);
  if (snapped != size) {
    RECT outer{};
    GetWindowRect(window_, &outer);
    const int frameWidth = (outer.right - outer.left) - size.width;
    const int frameHeight = (outer.bottom - outer.top) - size.height;
    // The resize runs a nested layout through WM_SIZE; it ends in the state
    // this one ends in, since both place the lines on the same final size.
    SetWindowPos(window_, nullptr, 0, 0, snapped.width + frameWidth, snapped.height + frameHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  PlaceLine3dLines(ClientSize(window_), horizontal, dpi, dpi, lines_);
  InvalidateRect(window_, nullptr, TRUE);
}

void Line3d::Paint(HDC dc) const {
  RECT client{};
  GetClientRect(window_, &client);
  FillSolid(dc, client, kLine3dBackColor);
  for (const LineShape& line : lines_) {
    if (line.Visible) FillSolid(dc, LineRect(line), line.BorderColor);
  }
}

// The window owns the control from here on; Detach ends it.
Line3d* Line3d::Attach(HWND window, const CREATESTRUCTW&) { return new Line3d(window); }

void Line3d::Detach() { std::unique_ptr<Line3d>{this}.reset(); }

LRESULT Line3d::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
  case WM_CREATE:
  case WM_SIZE:
  // The window it sits in moved to a monitor of another DPI.
  case win::kDpiChangedAfterParent: Layout(); return 0;
  case WM_ERASEBKGND: return 1; // WM_PAINT covers every pixel
  case WM_PAINT: {
    const PaintScope paint(window_);
    Paint(paint.dc());
    return 0;
  }
  // Window animations and PrintWindow capture the control through this.
  case WM_PRINTCLIENT: Paint(reinterpret_cast<HDC>(wParam)); return 0;
  default: return Default(window_, message, wParam, lParam);
  }
}

LRESULT Line3d::Default(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace id3
