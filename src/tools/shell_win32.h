// Opening a document with its associated program and shortening a path to a
// width on screen. Windows builds only.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace id3 {

// Runs verb (the default action when empty) on file through ShellExecuteW,
// shown normally, with window as the owner. Empty parameters, verb or
// directory are passed as null pointers. Returns what ShellExecuteW returns as
// a number: above 32 on success, an error code (2 for a missing file) else.
std::intptr_t ShellOpenFile(const std::string& file, const std::string& directory, HWND window,
                            const std::string& parameters, const std::string& verb);

// path shortened with an ellipsis (PathCompactPathW) so that it fits into
// width pixels in the font selected into dc; unchanged when it fits already.
std::string CompactPath(const std::string& path, int width, HDC dc);

} // namespace id3
