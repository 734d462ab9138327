#include "effects/animater_win32.h"

#include "effects/window_animation_win32.h"

namespace id3 {

bool Animater::Animate(HWND window, DWORD milliseconds, DWORD flags) {
  return AnimateForm(window, milliseconds, flags);
}

} // namespace id3
