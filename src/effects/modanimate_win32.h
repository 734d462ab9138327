// The work around one window animation. AnimateWindow builds its frames by
// sending the window WM_PRINTCLIENT; for exactly the length of one animation
// the window's procedure is replaced by AnimWindowProc, which paints the
// window's background colour and picture into the given DC and passes every
// message on to the previous procedure. While it is installed the window
// carries two properties: "PrevProc" (the previous procedure) and
// "FormObject" (a non-owning AnimatedForm pointer); outside an animation it
// has neither.
#pragma once

#include <windows.h>

#include <cstdint>

namespace id3 {

// A bitmap with its size in HIMETRIC (0.01 mm). The bitmap stays the
// caller's and must not be selected into a DC while an animation runs.
struct FormPicture {
  HBITMAP bitmap = nullptr;
  std::int32_t widthHimetric = 0;
  std::int32_t heightHimetric = 0;
};

// What an animation needs from the window it plays on.
class AnimatedForm {
public:
  virtual HWND Window() const = 0;
  // The client background as an OLE colour (RGB, or 0x80000000 + COLOR_ index).
  virtual std::uint32_t BackColor() const = 0;
  // Drawn at the top left over the background; a null bitmap for none.
  virtual FormPicture Picture() const { return {}; }
  // Repaints the window and its controls at once, after the animation.
  virtual void Refresh();

protected:
  ~AnimatedForm() = default;
};

// A plain window as an AnimatedForm: the background is the colour of its
// class brush (button face when the class has none or a patterned one), and
// it has no picture.
class WindowForm final : public AnimatedForm {
public:
  explicit WindowForm(HWND window) : window_(window) {}
  HWND Window() const override { return window_; }
  std::uint32_t BackColor() const override;

private:
  HWND window_;
};

// Installs AnimWindowProc, plays AnimateWindow(form.Window(), dwTime, dwFlags),
// restores the previous procedure, removes both properties and refreshes the
// window. Returns AnimateWindow's result; false, without touching anything,
// for a handle that is no window. A call made while the window is already
// being animated plays its animation through the replacement in place.
bool AnimateForm(AnimatedForm& form, DWORD dwTime, DWORD dwFlags);

// The replacement procedure; only meaningful while AnimateForm has installed it.
LRESULT CALLBACK AnimWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

// A HIMETRIC length in pixels at the screen's horizontal resolution (the
// horizontal figure serves heights too).
std::int32_t HimetricToPixels(std::int32_t value);

// An OLE colour as plain RGB, translated without a palette; black when it
// cannot be translated.
COLORREF OleColorToRgb(std::uint32_t color);

} // namespace id3
