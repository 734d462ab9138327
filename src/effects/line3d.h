// The etched separator: two one-pixel lines of different colours side by side.
#pragma once

#include <windows.h>

namespace id3 {

// Creates a separator as a child of parent at the given pixel rectangle.
HWND CreateLine3d(HWND parent, int id, int x, int y, int width, int height);

} // namespace id3
