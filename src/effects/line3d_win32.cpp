#include "effects/line3d_win32.h"

#include "effects/gdi_win32.h"
#include "effects/modanimate_win32.h"
#include "effects/units.h"
#include "effects/window_win32.h"

#include <windowsx.h>

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
  const gdi::UniqueBrush brush(CreateSolidBrush(OleColorToRgb(oleColor)));
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

std::int16_t HeldButtons(WPARAM keys) {
  std::int16_t held = 0;
  if (keys & MK_LBUTTON) held |= 1;
  if (keys & MK_RBUTTON) held |= 2;
  if (keys & MK_MBUTTON) held |= 4;
  return held;
}

std::int16_t ShiftState(WPARAM keys) {
  std::int16_t shift = 0;
  if (keys & MK_SHIFT) shift |= 1;
  if (keys & MK_CONTROL) shift |= 2;
  if (GetKeyState(VK_MENU) < 0) shift |= 4;
  return shift;
}

} // namespace

HWND CreateLine3d(HWND parent, int id, int x, int y, int width, int height) {
  return CreateLine3d(parent, id, x, y, width, height, PropertyBag{});
}

HWND CreateLine3d(HWND parent, int id, int x, int y, int width, int height,
                  const PropertyBag& properties) {
  if (Line3d::ClassAtom() == 0) return nullptr;
  return CreateWindowExW(0, kLine3dClassName, L"", WS_CHILD | WS_VISIBLE, x, y, width, height,
                         parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         GetModuleHandleW(nullptr),
                         const_cast<void*>(static_cast<const void*>(&properties)));
}

ATOM Line3d::ClassAtom() {
  static const ATOM atom =
      win::RegisterWindowClass({kLine3dClassName, &win::ObjectWindowProc<Line3d>});
  return atom;
}

Line3d* Line3d::FromWindow(HWND window) {
  const ATOM atom = ClassAtom();
  if (!window || atom == 0 || GetClassLongPtrW(window, GCW_ATOM) != atom) return nullptr;
  return reinterpret_cast<Line3d*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

Line3d::Line3d(HWND window, const Line3dProperties& properties)
    : window_(window), properties_(properties) {
  lines_[0].BorderColor = properties_.Color1;
  lines_[1].BorderColor = properties_.Color2;
}

void Line3d::Enabled(bool New_Enabled) {
  properties_.Enabled = New_Enabled;
  NotifyPropertyChanged("Enabled");
}

void Line3d::Refresh() { RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW); }

void Line3d::Color1(std::uint32_t New_Color1) {
  properties_.Color1 = New_Color1;
  lines_[0].BorderColor = New_Color1;
  InvalidateLine(0);
  NotifyPropertyChanged("Color1");
}

void Line3d::Color2(std::uint32_t New_Color2) {
  properties_.Color2 = New_Color2;
  lines_[1].BorderColor = New_Color2;
  InvalidateLine(1);
  NotifyPropertyChanged("Color2");
}

void Line3d::ReDraw() { Layout(); }

void Line3d::ReadProperties(const PropertyBag& bag) {
  properties_ = ReadLine3dProperties(bag);
  lines_[0].BorderColor = properties_.Color1;
  lines_[1].BorderColor = properties_.Color2;
  Layout();
}

void Line3d::WriteProperties(PropertyBag& bag) const { WriteLine3dProperties(properties_, bag); }

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
  FillSolid(dc, client, properties_.BackColor);
  for (const LineShape& line : lines_) {
    if (line.Visible) FillSolid(dc, LineRect(line), line.BorderColor);
  }
}

void Line3d::InvalidateLine(std::size_t index) {
  const RECT rect = LineRect(lines_.at(index));
  InvalidateRect(window_, &rect, TRUE);
}

// Sent last by every caller, as NotifyPropertyChanged.
void Line3d::RaiseMouse(UINT code, std::int16_t button, WPARAM wParam, LPARAM lParam) {
  const HWND parent = GetParent(window_);
  if (!parent) return;
  const int dpi = win::WindowDpi(window_);
  Line3dMouseEvent event{};
  event.hdr.hwndFrom = window_;
  event.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(window_));
  event.hdr.code = code;
  event.Button = button;
  event.Shift = ShiftState(wParam);
  event.X = PixelsToTwips(GET_X_LPARAM(lParam), dpi);
  event.Y = PixelsToTwips(GET_Y_LPARAM(lParam), dpi);
  SendMessageW(parent, WM_NOTIFY, event.hdr.idFrom, reinterpret_cast<LPARAM>(&event));
}

// Sent last by every caller: the host may destroy the control while handling it.
void Line3d::NotifyPropertyChanged(const char* name) {
  const HWND parent = GetParent(window_);
  if (!parent) return;
  Line3dPropertyChange change{};
  change.hdr.hwndFrom = window_;
  change.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(window_));
  change.hdr.code = kLine3dPropertyChanged;
  change.Property = name;
  SendMessageW(parent, WM_NOTIFY, change.hdr.idFrom, reinterpret_cast<LPARAM>(&change));
}

Line3d* Line3d::Attach(HWND window, const CREATESTRUCTW& create) {
  const auto* bag = static_cast<const PropertyBag*>(create.lpCreateParams);
  // The window owns the control from here on; Detach ends it.
  return new Line3d(window, bag ? ReadLine3dProperties(*bag) : Line3dProperties{});
}

void Line3d::Detach() { std::unique_ptr<Line3d>{this}.reset(); }

void Line3d::ButtonDown(std::int16_t button, WPARAM wParam, LPARAM lParam) {
  // The release reaches the control even when it happens outside it.
  SetCapture(window_);
  RaiseMouse(kLine3dMouseDown, button, wParam, lParam);
}

void Line3d::ButtonUp(std::int16_t button, WPARAM wParam, LPARAM lParam) {
  if (HeldButtons(wParam) == 0 && GetCapture() == window_) ReleaseCapture();
  RaiseMouse(kLine3dMouseUp, button, wParam, lParam);
}

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
  case WM_LBUTTONDOWN: ButtonDown(1, wParam, lParam); return 0;
  case WM_RBUTTONDOWN: ButtonDown(2, wParam, lParam); return 0;
  case WM_MBUTTONDOWN: ButtonDown(4, wParam, lParam); return 0;
  case WM_MOUSEMOVE: RaiseMouse(kLine3dMouseMove, HeldButtons(wParam), wParam, lParam); return 0;
  case WM_LBUTTONUP: ButtonUp(1, wParam, lParam); return 0;
  case WM_RBUTTONUP: ButtonUp(2, wParam, lParam); return 0;
  case WM_MBUTTONUP: ButtonUp(4, wParam, lParam); return 0;
  default: return Default(window_, message, wParam, lParam);
  }
}

LRESULT Line3d::Default(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace id3
