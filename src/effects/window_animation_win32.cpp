#include "effects/window_animation_win32.h"

#include "wingui/gdi_win32.h"

namespace id3 {
namespace {

constexpr wchar_t kPrevProc[] = L"PrevProc";
constexpr wchar_t kAnimating[] = L"Animating";
constexpr std::uint32_t kButtonFace = 0x80000000u | COLOR_BTNFACE;

WNDPROC PrevProcOf(HWND window) { return reinterpret_cast<WNDPROC>(GetPropW(window, kPrevProc)); }

bool IsInstalled(HWND window) {
  return GetWindowLongPtrW(window, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&AnimWindowProc);
}

// Puts the previous procedure back and removes both properties. When another
// subclass was stacked on top during the animation, cutting it out would lose
// it, so the replacement stays in the chain as a plain pass-through that
// paints nothing: "Animating" goes, "PrevProc" stays for forwarding.
void Uninstall(HWND window) {
  const WNDPROC previous = PrevProcOf(window);
  if (!previous) return;
  RemovePropW(window, kAnimating);
  if (!IsInstalled(window)) return;
  SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
  RemovePropW(window, kPrevProc);
}

// Installs the replacement for the lifetime of the object. A window already
// carrying "PrevProc" is being animated: installing again would make the
// replacement its own previous procedure, so the outer installation serves.
class AnimationSubclass {
public:
  explicit AnimationSubclass(HWND window) : window_(window) {
    if (PrevProcOf(window)) return;
    const LONG_PTR previous = GetWindowLongPtrW(window, GWLP_WNDPROC);
    if (!SetPropW(window, kPrevProc, reinterpret_cast<HANDLE>(previous))) return;
    if (!SetPropW(window, kAnimating, window)) {
      RemovePropW(window, kPrevProc);
      return;
    }
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AnimWindowProc));
    // Another process's window refuses a new procedure.
    installed_ = IsInstalled(window);
    if (!installed_) {
      RemovePropW(window, kAnimating);
      RemovePropW(window, kPrevProc);
    }
  }
  ~AnimationSubclass() {
    if (installed_ && IsWindow(window_)) Uninstall(window_);
  }
  AnimationSubclass(const AnimationSubclass&) = delete;
  AnimationSubclass& operator=(const AnimationSubclass&) = delete;

private:
  HWND window_;
  bool installed_ = false;
};

// The frame AnimateWindow asked for: the background colour over the whole
// client rectangle.
void PaintPrintClient(HWND window, HDC target) {
  RECT client{};
  if (!target || !GetClientRect(window, &client)) return;
  const gdi::UniqueBrush brush(CreateSolidBrush(gdi::OleColorToRgb(WindowBackColor(window))));
  if (brush) FillRect(target, &client, brush.get());
}

} // namespace

std::uint32_t WindowBackColor(HWND window) {
  const auto brush = static_cast<ULONG_PTR>(GetClassLongPtrW(window, GCLP_HBRBACKGROUND));
  // A class brush may be a system colour index plus one instead of a handle.
  if (brush != 0 && brush <= COLOR_MENUBAR + 1)
    return 0x80000000u | static_cast<std::uint32_t>(brush - 1);
  LOGBRUSH described{};
  if (brush != 0 &&
      GetObjectW(reinterpret_cast<HGDIOBJ>(brush), sizeof described, &described) ==
          sizeof described &&
      described.lbStyle == BS_SOLID)
    return described.lbColor;
  return kButtonFace;
}

bool AnimateForm(HWND window, DWORD dwTime, DWORD dwFlags) {
  if (!IsWindow(window)) return false;
  BOOL played = FALSE;
  {
    const AnimationSubclass subclass(window);
    SetForegroundWindow(window);
    played = AnimateWindow(window, dwTime, dwFlags);
  }
  if (IsWindow(window))
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  return played != FALSE;
}

LRESULT CALLBACK AnimWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  const WNDPROC previous = PrevProcOf(hWnd);
  if (message == WM_PRINTCLIENT && GetPropW(hWnd, kAnimating)) {
    try {
      PaintPrintClient(hWnd, reinterpret_cast<HDC>(wParam));
    } catch (...) {
      // A frame left unpainted is harmless; an exception through the
      // system's message dispatch is not.
    }
  }
  if (message == WM_NCDESTROY) {
    // No message follows this one, so nothing needs "PrevProc" any more.
    Uninstall(hWnd);
    RemovePropW(hWnd, kPrevProc);
  }
  if (!previous) return DefWindowProcW(hWnd, message, wParam, lParam);
  return CallWindowProcW(previous, hWnd, message, wParam, lParam);
}

} // namespace id3
