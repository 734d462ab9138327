// UTF-8 inside, UTF-16 at the Win32 calls. Windows builds only.
#pragma once

#include <string>
#include <string_view>

namespace id3::win {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

} // namespace id3::win
