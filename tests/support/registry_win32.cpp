#include "registry_win32.h"

#include "tools/wintext_win32.h"

#include <memory>
#include <type_traits>

namespace id3::test {
namespace {

using Owned = std::unique_ptr<std::remove_pointer_t<HKEY>, decltype(&RegCloseKey)>;

Owned Open(HKEY root, const std::wstring& path) {
  HKEY key = nullptr;
  RegOpenKeyExW(root, path.c_str(), 0, KEY_ALL_ACCESS, &key);
  return {key, &RegCloseKey};
}

HKEY Create(HKEY root, const std::wstring& path, DWORD options) {
  HKEY key = nullptr;
  RegCreateKeyExW(root, path.c_str(), 0, nullptr, options, KEY_ALL_ACCESS, nullptr, &key, nullptr);
  return key;
}

RegistryScope::Key Read(HKEY key, std::wstring name) {
  RegistryScope::Key saved{std::move(name), {}, {}};
  DWORD keys = 0, key_length = 0, values = 0, name_length = 0, data_length = 0;
  RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &keys, &key_length, nullptr, &values,
                   &name_length, &data_length, nullptr, nullptr);
  for (DWORD i = 0; i < values; ++i) {
    std::wstring value_name(name_length + 1, L'\0');
    DWORD length = name_length + 1, type = 0, size = data_length;
    std::vector<BYTE> data(data_length);
    if (RegEnumValueW(key, i, value_name.data(), &length, nullptr, &type, data.data(), &size) ==
        ERROR_SUCCESS) {
      value_name.resize(length);
      data.resize(size);
      saved.values.push_back({value_name, type, data});
    }
  }
  for (DWORD i = 0; i < keys; ++i) {
    std::wstring sub_name(key_length + 1, L'\0');
    DWORD length = key_length + 1;
    if (RegEnumKeyExW(key, i, sub_name.data(), &length, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS)
      continue;
    sub_name.resize(length);
    if (const Owned sub = Open(key, sub_name); sub) saved.keys.push_back(Read(sub.get(), sub_name));
  }
  return saved;
}

void Write(HKEY parent, const RegistryScope::Key& saved) {
  const Owned key(Create(parent, saved.name, REG_OPTION_NON_VOLATILE), &RegCloseKey);
  if (!key) return;
  for (const RegistryScope::Value& value : saved.values)
    RegSetValueExW(key.get(), value.name.c_str(), 0, value.type, value.data.data(),
                   static_cast<DWORD>(value.data.size()));
  for (const RegistryScope::Key& sub : saved.keys) Write(key.get(), sub);
}

} // namespace

RegistryScope::RegistryScope(HKEY root, std::wstring path, Start start)
    : root_(root), path_(std::move(path)) {
  if (const Owned found = Open(root_, path_); found) saved_ = Read(found.get(), path_);
  if (start == Start::AsFound) {
    key_ = Open(root_, path_).release();
    return;
  }
  RegDeleteTreeW(root_, path_.c_str());
  key_ = Create(root_, path_,
                start == Start::EmptyVolatile ? REG_OPTION_VOLATILE : REG_OPTION_NON_VOLATILE);
}

RegistryScope::~RegistryScope() {
  if (key_) RegCloseKey(key_);
  RegDeleteTreeW(root_, path_.c_str());
  if (saved_) Write(root_, *saved_);
}

void RegistryScope::Make(const std::string& sub_path,
                         const std::optional<std::string>& text) const {
  const std::wstring path = win::Widen(sub_path);
  HKEY made = Create(key_, path, REG_OPTION_NON_VOLATILE);
  if (!made) made = Create(key_, path, REG_OPTION_VOLATILE);
  const Owned key(made, &RegCloseKey);
  if (key && text) {
    const std::wstring wide = win::Widen(*text);
    RegSetValueExW(key.get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(wide.c_str()),
                   static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t)));
  }
}

} // namespace id3::test
