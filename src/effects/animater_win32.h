// Animated opening and closing of a window.
//
// The editor window grows out of its centre when it opens and fades out when
// it closes:
//   animater.Animate(window, kFormAnimationMilliseconds, kOpenAnimation);  // before it is shown
//   animater.Animate(window, kFormAnimationMilliseconds, kCloseAnimation); // before it is
//   destroyed
// AnimateWindow shows or hides the window itself, and refuses to show a window
// that is already visible or to hide one that is hidden.
#pragma once

#include <windows.h>

namespace id3 {

inline constexpr DWORD kFormAnimationMilliseconds = 200;
inline constexpr DWORD kOpenAnimation = AW_CENTER;
inline constexpr DWORD kCloseAnimation = AW_HIDE | AW_BLEND;

class Animater {
public:
  // Plays the animation (AnimateWindow flags) with the window painted in its
  // class background (see AnimateForm) and returns when it has ended; the
  // result is AnimateWindow's, false for a handle that is no window.
  bool Animate(HWND window, DWORD milliseconds, DWORD flags);
};

} // namespace id3
