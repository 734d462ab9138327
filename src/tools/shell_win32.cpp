#include "tools/shell_win32.h"

#include "tools/wintext_win32.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <algorithm>
#include <vector>

namespace id3 {
namespace {

// A null pointer for the empty text.
const wchar_t* OrNull(const std::wstring& text) { return text.empty() ? nullptr : text.c_str(); }

} // namespace

std::intptr_t ShellOpenFile(const std::string& file, const std::string& directory, HWND window,
                            const std::string& parameters, const std::string& verb) {
  const std::wstring wfile = win::Widen(file), wdir = win::Widen(directory),
                     wparams = win::Widen(parameters), wverb = win::Widen(verb);
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof info;
  // As ShellExecute: a file that cannot be opened shows no box of the shell's.
  info.fMask = SEE_MASK_FLAG_NO_UI;
  info.hwnd = window;
  info.lpVerb = OrNull(wverb);
  info.lpFile = wfile.c_str();
  info.lpParameters = OrNull(wparams);
  info.lpDirectory = OrNull(wdir);
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
