#include "effects/line3d.h"

namespace id3 {

// Placeholder until the control of its own lands: the system's etched line.
HWND CreateLine3d(HWND parent, int id, int x, int y, int width, int height) {
  return CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_ETCHEDHORZ, x, y, width,
                         height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         GetModuleHandleW(nullptr), nullptr);
}

} // namespace id3
