// The user's locale settings, read once for every caller. Windows builds only.
#pragma once

#include <windows.h>

#include <string>

namespace id3::win {

// A text setting of the user's locale (LOCALE_SDECIMAL, ...); empty when it
// has none.
std::wstring UserLocaleText(LCTYPE what);
// A number setting (LOCALE_ILZERO, ...); 0 when it has none.
UINT UserLocaleNumber(LCTYPE what);

// The user's decimal separator; "." when the locale gives none.
std::string DecimalSeparator();

} // namespace id3::win
