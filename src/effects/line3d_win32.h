// line3d, the etched separator: two one-pixel lines of different colours side
// by side (by default dark grey with white below it), lying horizontally when
// the control is wider than high and vertically otherwise. The control keeps
// itself 30 twips thick (2 pixels at 96 DPI) across its direction, whatever
// size its parent gives it; its length is the parent's to choose. Twips are
// taken at the DPI of the window it sits in (win::WindowDpi), and laid out
// again when that window moves to another DPI.
//
// Notifications to the parent, as WM_NOTIFY with the control's id:
//   kLine3dMouseDown, kLine3dMouseMove, kLine3dMouseUp: lParam points to a
//     Line3dMouseEvent. They are sent whatever the Enabled property says.
//   kLine3dPropertyChanged: lParam points to a Line3dPropertyChange; sent when
//     Enabled, Color1 or Color2 is written, so that the host knows the
//     properties need saving.
#pragma once

#include "effects/line3d_layout.h"
#include "effects/propertybag.h"
#include "effects/window_win32.h"

#include <windows.h>

#include <array>
#include <cstddef>
#include <cstdint>

namespace id3 {

inline constexpr wchar_t kLine3dClassName[] = L"line3d";

inline constexpr UINT kLine3dMouseDown = 0x3D01;
inline constexpr UINT kLine3dMouseMove = 0x3D02;
inline constexpr UINT kLine3dMouseUp = 0x3D03;
inline constexpr UINT kLine3dPropertyChanged = 0x3D04;

// Button: 1 left, 2 right, 4 middle; for a move, the buttons held. Shift:
// 1 Shift, 2 Ctrl, 4 Alt. X and Y: the position in twips from the control's
// top left corner.
struct Line3dMouseEvent {
  NMHDR hdr;
  std::int16_t Button;
  std::int16_t Shift;
  float X;
  float Y;
};

struct Line3dPropertyChange {
  NMHDR hdr;
  const char* Property; // "Enabled", "Color1" or "Color2"
};

// Creates a separator as a child of parent at the given pixel rectangle, with
// every property at its default.
HWND CreateLine3d(HWND parent, int id, int x, int y, int width, int height);
// The same with the properties read from a bag (see ReadLine3dProperties).
HWND CreateLine3d(HWND parent, int id, int x, int y, int width, int height,
                  const PropertyBag& properties);

// The control behind a line3d window; it lives as long as its window.
class Line3d {
public:
  // Null for a window of another class.
  static Line3d* FromWindow(HWND window);

  HWND Window() const { return window_; }

  // Stored and persisted only: it changes neither the drawing nor the input.
  bool Enabled() const { return properties_.Enabled; }
  void Enabled(bool New_Enabled);
  // Repaints the control at once.
  void Refresh();
  // OLE colours of the first line (top, or left) and the second (bottom, or right).
  std::uint32_t Color1() const { return properties_.Color1; }
  void Color1(std::uint32_t New_Color1);
  std::uint32_t Color2() const { return properties_.Color2; }
  void Color2(std::uint32_t New_Color2);
  // Runs the layout now, as a resize does.
  void ReDraw();

  // The two line shapes: index 0 in Color1, index 1 in Color2.
  const LineShape& Line1(std::size_t index) const { return lines_.at(index); }

  // Reads the persisted properties and lays the control out again.
  void ReadProperties(const PropertyBag& bag);
  void WriteProperties(PropertyBag& bag) const;

  Line3d(const Line3d&) = delete;
  Line3d& operator=(const Line3d&) = delete;

private:
  friend HWND CreateLine3d(HWND, int, int, int, int, int, const PropertyBag&);
  friend LRESULT CALLBACK win::ObjectWindowProc<Line3d>(HWND, UINT, WPARAM, LPARAM);

  Line3d(HWND window, const Line3dProperties& properties);
  static ATOM ClassAtom();
  // The window's procedure (win::ObjectWindowProc): the properties come from
  // the bag passed at creation, if any.
  static Line3d* Attach(HWND window, const CREATESTRUCTW& create);
  LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT Default(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void Detach();

  void ButtonDown(std::int16_t button, WPARAM wParam, LPARAM lParam);
  void ButtonUp(std::int16_t button, WPARAM wParam, LPARAM lParam);

  void Layout();
  void Paint(HDC dc) const;
  void RaiseMouse(UINT code, std::int16_t button, WPARAM wParam, LPARAM lParam);
  void NotifyPropertyChanged(const char* name);
  void InvalidateLine(std::size_t index);

  HWND window_;
  Line3dProperties properties_;
  std::array<LineShape, 2> lines_{};
};

} // namespace id3
