#include "effects/animater.h"

namespace id3 {

bool Animater::Animate(HWND window, DWORD milliseconds, DWORD flags) {
  return AnimateWindow(window, milliseconds, flags) != FALSE;
}

} // namespace id3
