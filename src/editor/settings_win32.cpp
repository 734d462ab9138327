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
  const auto value = reg ? ReadRegValue(reg.get(), key) : std::nullopt;
  if (!value || value->type != REG_SZ) return std::string(fallback);
  // The stored text may or may not carry its terminating zero.
  const std::wstring text = RegText(*value);
  return Narrow(std::wstring_view(text).substr(0, text.find(L'\0')));
}

bool SaveSetting(std::string_view app, std::string_view section, std::string_view key,
                 std::string_view value) {
  const UniqueHKey reg = CreateRegKey(HKEY_CURRENT_USER, KeyPath(app, section), KEY_SET_VALUE);
  return reg && WriteRegText(reg.get(), key, value) == ERROR_SUCCESS;
}

} // namespace id3::win
