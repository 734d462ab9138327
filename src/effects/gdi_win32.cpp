#include "effects/gdi_win32.h"

namespace id3::gdi {

UniqueMemoryDc CreateScreenCompatibleDc() {
  const WindowDc screen(nullptr);
  if (!screen.get()) return nullptr;
  return UniqueMemoryDc(CreateCompatibleDC(screen.get()));
}

Resolution ScreenResolution() {
  const WindowDc screen(nullptr);
  if (!screen.get()) return {};
  return {GetDeviceCaps(screen.get(), LOGPIXELSX), GetDeviceCaps(screen.get(), LOGPIXELSY)};
}

} // namespace id3::gdi
