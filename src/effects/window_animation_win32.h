// The work around one window animation. AnimateWindow builds its frames by
// sending the window WM_PRINTCLIENT; for exactly the length of one animation
// the window's procedure is replaced by AnimWindowProc, which paints the
// window's background colour into the given DC and passes every message on to
// the previous procedure. While it is installed the window carries two
// properties, "PrevProc" (the previous procedure) and "Animating"; outside an
// animation it has neither.
#pragma once

#include <windows.h>

#include <cstdint>

namespace id3 {

// The colour a window's class paints its background in, as an OLE colour:
// button face when the class has no brush or a patterned one.
std::uint32_t WindowBackColor(HWND window);

// Installs AnimWindowProc, plays AnimateWindow(window, dwTime, dwFlags),
// restores the previous procedure, removes both properties and repaints the
// window and its controls. Returns AnimateWindow's result; false, without
// touching anything, for a handle that is no window. A call made while the
// window is already being animated plays its animation through the
// replacement in place.
bool AnimateForm(HWND window, DWORD dwTime, DWORD dwFlags);

// The replacement procedure; only meaningful while AnimateForm has installed it.
LRESULT CALLBACK AnimWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

} // namespace id3
