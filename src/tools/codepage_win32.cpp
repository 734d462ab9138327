#include "tools/codepage.h"

#include "tools/text.h"
#include "tools/wintext_win32.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <cctype>

namespace id3 {
namespace {

std::optional<unsigned> NumberOf(std::string_view name) {
  std::string lower(name);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (lower == "ansi" || lower == "acp") return GetACP();
  if (lower == "utf-8" || lower == "utf8") return static_cast<unsigned>(CP_UTF8);
  if (lower == "iso-8859-1" || lower == "latin1") return 28591u;
  if (lower == "iso-8859-15") return 28605u;
  std::string_view digits = lower;
  for (std::string_view prefix : {"windows-", "cp"}) {
    if (digits.starts_with(prefix)) digits.remove_prefix(prefix.size());
  }
  return text::ParseNumber(digits);
}

} // namespace

CodePage CodePage::PlatformDefault() {
  const unsigned acp = GetACP();
  return CodePage(Kind::Platform, "cp" + std::to_string(acp), acp);
}

std::optional<CodePage> CodePage::PlatformNamed(std::string_view name) {
  const auto id = NumberOf(name);
  if (!id || !IsValidCodePage(*id)) return std::nullopt;
  return CodePage(Kind::Platform, "cp" + std::to_string(*id), *id);
}

std::string CodePage::PlatformDecode(std::string_view bytes) const {
  if (bytes.empty()) return {};
  const int n =
      MultiByteToWideChar(id_, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(id_, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(), n);
  return win::Narrow(wide);
}

std::string CodePage::PlatformEncode(std::string_view utf8) const {
  const std::wstring wide = win::Widen(utf8);
  std::string out;
  out.reserve(wide.size());
  // Each character on its own, kept only when its bytes read back as the
  // character itself: no best-fit look-alike ("e" for "é") and no reliance on
  // WC_NO_BEST_FIT_CHARS, which Wine answers with stray bytes in double-byte
  // code pages.
  std::array<char, 8> bytes{};
  std::array<wchar_t, 4> back{};
  for (std::size_t i = 0; i < wide.size();) {
    const int units =
        IS_HIGH_SURROGATE(wide[i]) && i + 1 < wide.size() && IS_LOW_SURROGATE(wide[i + 1]) ? 2 : 1;
    const int n = WideCharToMultiByte(id_, 0, wide.data() + i, units, bytes.data(),
                                      static_cast<int>(bytes.size()), nullptr, nullptr);
    const int k = n > 0 ? MultiByteToWideChar(id_, 0, bytes.data(), n, back.data(),
                                              static_cast<int>(back.size()))
                        : 0;
    if (k == units && std::equal(back.begin(), back.begin() + k, wide.begin() + i))
      out.append(bytes.data(), static_cast<std::size_t>(n));
    else
      out += '?';
    i += static_cast<std::size_t>(units);
  }
  return out;
}

} // namespace id3
