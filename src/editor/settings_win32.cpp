#include "editor/settings_win32.h"

#include "tools/wintext_win32.h"

#include <windows.h>

#include <utility>

namespace id3::win {

namespace {

class RegKey {
public:
  RegKey() = default;
  RegKey(RegKey&& other) noexcept : key_(std::exchange(other.key_, nullptr)) {}
  RegKey& operator=(RegKey&& other) noexcept {
    if (this != &other) {
      Close();
      key_ = std::exchange(other.key_, nullptr);
    }
    return *this;
  }
  RegKey(const RegKey&) = delete;
  RegKey& operator=(const RegKey&) = delete;
  ~RegKey() { Close(); }

  HKEY* Out() {
    Close();
    return &key_;
  }
  HKEY Get() const { return key_; }

private:
  void Close() {
    if (key_) RegCloseKey(std::exchange(key_, nullptr));
  }
  HKEY key_ = nullptr;
};

std::wstring KeyPath(std::string_view app, std::string_view section) {
  return L"Software\\" + Widen(app) + L"\\" + Widen(section);
}

} // namespace

std::string GetSetting(std::string_view app, std::string_view section, std::string_view key,
                       std::string_view fallback) {
  RegKey reg;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, KeyPath(app, section).c_str(), 0, KEY_QUERY_VALUE,
                    reg.Out()) != ERROR_SUCCESS)
    return std::string(fallback);
  const std::wstring name = Widen(key);
  DWORD type = 0;
  DWORD bytes = 0;
  if (RegQueryValueExW(reg.Get(), name.c_str(), nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS ||
      type != REG_SZ)
    return std::string(fallback);
  std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
  bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
  if (RegQueryValueExW(reg.Get(), name.c_str(), nullptr, &type,
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
  RegKey reg;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, KeyPath(app, section).c_str(), 0, nullptr, 0,
                      KEY_SET_VALUE, nullptr, reg.Out(), nullptr) != ERROR_SUCCESS)
    return false;
  const std::wstring text = Widen(value);
  const auto bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
  return RegSetValueExW(reg.Get(), Widen(key).c_str(), 0, REG_SZ,
                        reinterpret_cast<const BYTE*>(text.c_str()), bytes) == ERROR_SUCCESS;
}

} // namespace id3::win
