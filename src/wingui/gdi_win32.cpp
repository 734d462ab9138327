#include "wingui/gdi_win32.h"

#include <ole2.h>
#include <olectl.h>

namespace id3::gdi {

Resolution ScreenResolution() {
  const WindowDc screen(nullptr);
  if (!screen.get()) return {};
  return {GetDeviceCaps(screen.get(), LOGPIXELSX), GetDeviceCaps(screen.get(), LOGPIXELSY)};
}

COLORREF OleColorToRgb(std::uint32_t color) {
  COLORREF rgb = 0;
  if (FAILED(OleTranslateColor(color, nullptr, &rgb))) return 0;
  return rgb;
}

} // namespace id3::gdi
