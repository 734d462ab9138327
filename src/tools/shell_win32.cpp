#include "tools/shell_win32.h"

#include "tools/wintext_win32.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <algorithm>
#include <vector>

namespace id3 {

std::intptr_t ShellOpenFile(const std::string& file, HWND owner) {
  const std::wstring wfile = win::Widen(file);
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof info;
  // As ShellExecute: a file that cannot be opened shows no box of the shell's.
  info.fMask = SEE_MASK_FLAG_NO_UI;
  info.hwnd = owner;
  info.lpFile = wfile.c_str();
  info.nShow = SW_SHOWNORMAL;
  // hInstApp holds the code ShellExecute would return. A failed call is never
  // taken for a success, whatever it left there.
  if (!ShellExecuteExW(&info) && reinterpret_cast<std::intptr_t>(info.hInstApp) > 32) return 0;
  return reinterpret_cast<std::intptr_t>(info.hInstApp);
}

std::string CompactPath(const std::string& path, int width, HDC dc) {
  const std::wstring wide = win::Widen(path);
  // PathCompactPathW works in place on a buffer of MAX_PATH characters.
  std::vector<wchar_t> buf(std::max<std::size_t>(wide.size() + 1, MAX_PATH), L'\0');
  std::copy(wide.begin(), wide.end(), buf.begin());
  PathCompactPathW(dc, buf.data(), static_cast<UINT>(width));
  const auto end = std::find(buf.begin(), buf.end(), L'\0');
  return win::Narrow(std::wstring_view(buf.data(), static_cast<std::size_t>(end - buf.begin())));
}

} // namespace id3
