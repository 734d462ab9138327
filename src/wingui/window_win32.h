// What every window of the program asks of the system, written once: its
// class, the procedure that reaches the object behind it, its text, its font,
// its DPI and its place on the screen. Windows builds only.
#pragma once

#include "wingui/gdi_win32.h"

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace id3::win {

// A window class of this program, with the arrow cursor.
struct WindowClass {
  const wchar_t* name;
  WNDPROC procedure;
  HBRUSH background = nullptr;
  int window_extra = 0;
  HICON icon = nullptr;
  HICON small_icon = nullptr;
};
// Registers the class; the atom of the class already registered under the
// name, when there is one; 0 when the system refuses.
ATOM RegisterWindowClass(const WindowClass& window_class);

// Sent to the children of a per-monitor window whose DPI changed (Windows 10
// 1607 on), after the window's own WM_DPICHANGED; the headers name it only
// for that version.
inline constexpr UINT kDpiChangedAfterParent = 0x02E3;

// Records the DPI a top-level window lays itself out at, so that the controls
// in it follow: when it is created and when it handles WM_DPICHANGED.
void SetWindowDpi(HWND top_level, int dpi);
// The DPI of the top-level window that holds window, as that window recorded
// it; else the system's figure for the window (GetDpiForWindow, Windows 10
// 1607 on); else the screen's.
int WindowDpi(HWND window);

// The procedure of a window class whose windows are served by an object of
// class Object, which has:
//   static Object* Attach(HWND, const CREATESTRUCTW&): at WM_NCCREATE, the
//     object that serves the window from then on; null refuses the window;
//   LRESULT Dispatch(UINT, WPARAM, LPARAM): every message from WM_NCCREATE
//     on, up to WM_NCDESTROY;
//   static LRESULT Default(HWND, UINT, WPARAM, LPARAM): the system's handling
//     (DefWindowProcW, DefDlgProcW), for the messages no object sees;
//   void Detach(): at WM_NCDESTROY, the last message; the window does not
//     reach the object after it, and the window's recorded DPI goes with it.
// No exception leaves the procedure: at WM_NCCREATE one refuses the window,
// later the message gets the system's handling.
template <class Object>
LRESULT CALLBACK ObjectWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  try {
    if (message == WM_NCCREATE) {
      Object* created = Object::Attach(window, *reinterpret_cast<const CREATESTRUCTW*>(lParam));
      if (!created) return FALSE;
      SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
    }
    if (auto* self = reinterpret_cast<Object*>(GetWindowLongPtrW(window, GWLP_USERDATA))) {
      if (message != WM_NCDESTROY) return self->Dispatch(message, wParam, lParam);
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      SetWindowDpi(window, 0);
      self->Detach();
    }
  } catch (...) {
    if (message == WM_NCCREATE) return FALSE;
  }
  return Object::Default(window, message, wParam, lParam);
}

// The text of a window, and of an entry of a combo box's list (empty for no
// such entry), as UTF-8.
std::string WindowText(HWND window);
bool SetWindowTextUtf8(HWND window, std::string_view text);
std::string ComboItemText(HWND combo, int index);

// The messages the program sends its controls, each written once with its
// types. A combo box's list: the selected entry (-1 for none), selecting one
// (-1 for none), adding one at the end (false when the list refuses it), and
// whether the list is dropped down.
int ComboSelection(HWND combo);
void SelectComboItem(HWND combo, int index);
bool AddComboItem(HWND combo, std::string_view text);
bool IsComboDropped(HWND combo);
// An edit box's selection from start to end, and its caret (the end of the
// selection), in UTF-16 code units.
void SelectEditText(HWND edit, int start, int end);
int EditCaret(HWND edit);
// A menu's items made anew: one text each, with identifiers from first_id on,
// the checked one shown with the radio check (one of a set).
struct RadioItem {
  std::string text;
  bool checked;
};
void FillRadioMenu(HMENU menu, UINT first_id, const std::vector<RadioItem>& items);
// A check box's state.
bool IsChecked(HWND button);
void SetChecked(HWND button, bool checked);
// The font a control draws its text in; setting it does not repaint.
HFONT ControlFont(HWND control);
void SetControlFont(HWND control, HFONT font);
// A tooltip of tooltip_window that shows text over tool, a child of owner.
bool AddTooltip(HWND tooltip_window, HWND owner, HWND tool, const wchar_t* text);

// The top left corner of control in the client coordinates of container.
POINT TopLeftIn(HWND control, HWND container);

// A font of the face, its height in twips (a point is 20 twips), for a window
// at dpi.
gdi::UniqueFont CreateUiFont(const wchar_t* face, int twips, bool bold, int dpi);

// Moves the window, at its size, to the centre of the work area of the
// monitor it is on.
void CentreOnWorkArea(HWND window);

} // namespace id3::win
