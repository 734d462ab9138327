// Animated opening and closing of a window.
#pragma once

#include <windows.h>

#include <string>

namespace id3 {

class Animater {
public:
  // Plays the animation (AnimateWindow flags) and returns when it has ended;
  // the result is AnimateWindow's.
  bool Animate(HWND window, DWORD milliseconds, DWORD flags);
};

} // namespace id3
