#include "tools/paths.h"

#include "tools/locale_win32.h"
#include "tools/wintext_win32.h"

#include <windows.h>

#include <cstdio>
#include <string_view>

namespace id3 {
namespace {

// LOCALE_SGROUPING ("3;0", "3;2;0", "3") as NUMBERFMTW.Grouping (3, 32, 30):
// the digits in a row, with a trailing ";0" dropped and otherwise a 0 added.
UINT GroupingOf(std::wstring_view text) {
  UINT grouping = 0;
  for (const wchar_t c : text)
    if (c >= L'0' && c <= L'9') grouping = grouping * 10 + static_cast<UINT>(c - L'0');
  if (text.size() >= 2 && text.substr(text.size() - 2) == L";0") return grouping / 10;
  return grouping * 10;
}

} // namespace

std::string FormatTwoDecimals(double value) {
  // snprintf rounds as std::to_chars does (MinGW's own printf, exact to the
  // binary value), but std::to_chars for floating point would add 180 KB of
  // tables to the program.
  char digits[64];
  const int length = std::snprintf(digits, sizeof digits, "%.2f", value);
  if (length < 0 || static_cast<std::size_t>(length) >= sizeof digits) return {};
  const std::wstring number =
      win::Widen(std::string_view(digits, static_cast<std::size_t>(length)));

  std::wstring decimal = win::Widen(win::DecimalSeparator());
  std::wstring thousand = win::UserLocaleText(LOCALE_STHOUSAND);
  NUMBERFMTW fmt{};
  fmt.NumDigits = 2;
  fmt.LeadingZero = win::UserLocaleNumber(LOCALE_ILZERO);
  fmt.Grouping = GroupingOf(win::UserLocaleText(LOCALE_SGROUPING));
  fmt.lpDecimalSep = decimal.data();
  fmt.lpThousandSep = thousand.data();
  fmt.NegativeOrder = win::UserLocaleNumber(LOCALE_INEGNUMBER);

  wchar_t out[128];
  const int n = GetNumberFormatEx(LOCALE_NAME_USER_DEFAULT, 0, number.c_str(), &fmt, out, 128);
  if (n <= 1) return {};
  return win::Narrow(std::wstring_view(out, static_cast<std::size_t>(n - 1)));
}

} // namespace id3
