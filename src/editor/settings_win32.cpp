#include "editor/settings_win32.h"

#include "tools/regkey_win32.h"
#include "tools/wintext_win32.h"

namespace id3::win {

namespace {

std::string KeyPath(std::string_view app, std::string_view section) {
  return "Software\\" + std::string(app) + "\\" + std::string(section);
}

} // namespace

std::string GetSetting(std::string_view app, std::string_view section, std::string_view key,
                       std::string_view fallback) {
  const UniqueHKey reg = OpenRegKey(HKEY_CURRENT_USER, KeyPath(app, section), KEY_QUERY_VALUE);
  if (!reg) return std::string(fallback);
  const std::wstring name = Widen(key);
  DWORD type = 0;
  DWORD bytes = 0;
  if (RegQueryValueExW(reg.get(), name.c_str(), nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS ||
      type != REG_SZ)
    return std::string(fallback);
  std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
  bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
  if (RegQueryValueExW(reg.get(), name.c_str(), nullptr, &type,
                       reinterpret_cast<BYTE*>(text.data()), &bytes) != ERROR_SUCCESS ||
      type != REG_SZ)
    return std::string(fallback);
  // The stored text may or may not carry its terminating zero.
  text.resize(bytes / sizeof(wchar_t));
  if (const auto zero = text.find(L'\0'); zero != std::wstring::npos) text.resize(zero);
  return Narrow(text);
}

bool SaveSetting(std::string_view app, std::string_view section, std::string_view key,
                 std::string_view value) {
  const UniqueHKey reg = CreateRegKey(HKEY_CURRENT_USER, KeyPath(app, section), KEY_SET_VALUE);
  if (!reg) return false;
  const std::wstring text = Widen(value);
  const auto bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
  return RegSetValueExW(reg.get(), Widen(key).c_str(), 0, REG_SZ,
                        reinterpret_cast<const BYTE*>(text.c_str()), bytes) == ERROR_SUCCESS;
}

} // namespace id3::win
