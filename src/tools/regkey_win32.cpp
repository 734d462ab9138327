#include "tools/regkey_win32.h"

#include "tools/wintext_win32.h"

#include <algorithm>

namespace id3 {
namespace {

LSTATUS WriteRegData(HKEY key, std::string_view name, DWORD type, const void* data,
                     std::size_t size) {
  return RegSetValueExW(key, win::Widen(name).c_str(), 0, type, static_cast<const BYTE*>(data),
                        static_cast<DWORD>(size));
}

} // namespace

UniqueHKey OpenRegKey(HKEY root, std::string_view sub_key, REGSAM access) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, win::Widen(sub_key).c_str(), 0, access, &key) != ERROR_SUCCESS) return {};
  return UniqueHKey(key);
}

UniqueHKey CreateRegKey(HKEY root, std::string_view sub_key, REGSAM access, LSTATUS* status) {
  HKEY key = nullptr;
  const LSTATUS created = RegCreateKeyExW(root, win::Widen(sub_key).c_str(), 0, nullptr,
                                          REG_OPTION_NON_VOLATILE, access, nullptr, &key, nullptr);
  if (status) *status = created;
  if (created != ERROR_SUCCESS) return {};
  return UniqueHKey(key);
}

std::optional<RegValue> ReadRegValue(HKEY key, std::string_view name, std::size_t limit) {
  const std::wstring wide = win::Widen(name);
  RegValue value;
  for (;;) {
    DWORD size = 0;
    if (RegQueryValueExW(key, wide.c_str(), nullptr, &value.type, nullptr, &size) !=
            ERROR_SUCCESS ||
        size > limit)
      return std::nullopt;
    value.data.resize(size);
    const LSTATUS read =
        RegQueryValueExW(key, wide.c_str(), nullptr, &value.type, value.data.data(), &size);
    // The value grew between the two questions: ask again.
    if (read == ERROR_MORE_DATA) continue;
    if (read != ERROR_SUCCESS) return std::nullopt;
    value.data.resize(size);
    return value;
  }
}

std::optional<std::uint32_t> ReadRegNumber(HKEY key, std::string_view name) {
  const auto value = ReadRegValue(key, name, sizeof(std::uint32_t));
  if (!value || value->type != REG_DWORD || value->data.size() != sizeof(std::uint32_t))
    return std::nullopt;
  std::uint32_t number = 0;
  std::copy_n(value->data.begin(), sizeof number, reinterpret_cast<std::uint8_t*>(&number));
  return number;
}

std::wstring RegText(const RegValue& value) {
  std::wstring text(value.data.size() / sizeof(wchar_t), L'\0');
  std::copy_n(value.data.begin(), text.size() * sizeof(wchar_t),
              reinterpret_cast<std::uint8_t*>(text.data()));
  return text;
}

LSTATUS WriteRegText(HKEY key, std::string_view name, std::string_view text) {
  const std::wstring wide = win::Widen(text);
  return WriteRegData(key, name, REG_SZ, wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
}

LSTATUS WriteRegNumber(HKEY key, std::string_view name, std::uint32_t number) {
  return WriteRegData(key, name, REG_DWORD, &number, sizeof number);
}

} // namespace id3
