// Opening a document with its associated program and shortening a path to a
// width on screen. Windows builds only.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace id3 {

// Runs the default action on file (opens it in the program associated with
// its type) through ShellExecuteExW, shown normally, with owner as the owner
// of anything the program shows. Returns what ShellExecuteW returns as a
// number: above 32 on success, an error code (2 for a missing file) else.
std::intptr_t ShellOpenFile(const std::string& file, HWND owner);

// path shortened with an ellipsis (PathCompactPathW) so that it fits into
// width pixels in the font selected into dc; unchanged when it fits already.
std::string CompactPath(const std::string& path, int width, HDC dc);

} // namespace id3
