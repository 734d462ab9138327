#include "tools/codepage.h"

#include "tools/wintext_win32.h"

#include <windows.h>

#include <cctype>
#include <charconv>

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
  unsigned id = 0;
  const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), id);
  if (ec != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  return id;
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
  if (wide.empty()) return {};
  // No best-fit mapping: a character the code page lacks becomes '?', not a
  // look-alike.
  DWORD flags = WC_NO_BEST_FIT_CHARS;
  const char fallback = '?';
  int n = WideCharToMultiByte(id_, flags, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                              &fallback, nullptr);
  if (n == 0) {
    flags = 0; // some code pages (UTF-7, ISO-2022) take no flags
    n = WideCharToMultiByte(id_, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr,
                            nullptr);
  }
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(id_, flags, wide.data(), static_cast<int>(wide.size()), out.data(), n,
                      flags ? &fallback : nullptr, nullptr);
  return out;
}

} // namespace id3
