#include "tools/locale_win32.h"

#include "tools/wintext_win32.h"

#include <array>

namespace id3::win {

std::wstring UserLocaleText(LCTYPE what) {
  // LOCALE_SMAXLENGTH: no locale text is longer, its NUL included.
  std::array<wchar_t, 16> text{};
  const int n =
      GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, what, text.data(), static_cast<int>(text.size()));
  return n > 1 ? std::wstring(text.data(), static_cast<std::size_t>(n - 1)) : std::wstring();
}

UINT UserLocaleNumber(LCTYPE what) {
  DWORD value = 0;
  GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, what | LOCALE_RETURN_NUMBER,
                  reinterpret_cast<LPWSTR>(&value), sizeof value / sizeof(wchar_t));
  return value;
}

std::string DecimalSeparator() {
  const std::wstring separator = UserLocaleText(LOCALE_SDECIMAL);
  return separator.empty() ? "." : Narrow(separator);
}

} // namespace id3::win
