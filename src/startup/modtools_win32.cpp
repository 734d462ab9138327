#include "startup/modtools_win32.h"

#include "startup/regformat.h"
#include "startup/verb.h"
#include "tools/wintext_win32.h"

#include <array>
#include <span>
#include <vector>

namespace id3 {
namespace {

// The most data RegGetString accepts, in bytes; a longer value reads as empty.
constexpr std::size_t kRegValueLimit = 2048;

std::wstring ModuleFileName() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return {};
    // A full buffer means the path may have been cut.
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

startup::ModulePath Module() { return startup::SplitModulePath(win::Narrow(ModuleFileName())); }

} // namespace

std::string RegGetString(HKEY root, std::string_view sub_key, std::string_view value_name) {
  const UniqueHKey key = OpenRegKey(root, sub_key, KEY_QUERY_VALUE);
  if (!key) return {};
  // wchar_t elements keep the string types aligned for reading them in place.
  std::array<wchar_t, kRegValueLimit / sizeof(wchar_t)> buffer{};
  DWORD type = REG_NONE;
  DWORD size = sizeof buffer;
  if (RegQueryValueExW(key.get(), win::Widen(value_name).c_str(), nullptr, &type,
                       reinterpret_cast<BYTE*>(buffer.data()), &size) != ERROR_SUCCESS)
    return {};
  const std::span bytes(reinterpret_cast<const std::uint8_t*>(buffer.data()), size);
  switch (type) {
  case REG_DWORD: return startup::FormatRegNumber(bytes);
  case REG_BINARY: return startup::FormatRegBytes(bytes);
  default:
    return win::Narrow(
        startup::CleanRegText(std::wstring_view(buffer.data(), size / sizeof(wchar_t))));
  }
}

LSTATUS RegWriteValue(HKEY root, std::string_view sub_key, std::string_view value_name,
                      DWORD value_type, const RegData& value) {
  std::vector<BYTE> data;
  if (value_type == REG_SZ && std::holds_alternative<std::string>(value)) {
    const std::wstring text = win::Widen(std::get<std::string>(value));
    const auto* first = reinterpret_cast<const BYTE*>(text.c_str());
    data.assign(first, first + (text.size() + 1) * sizeof(wchar_t));
  } else if (value_type == REG_DWORD && std::holds_alternative<std::uint32_t>(value)) {
    const std::uint32_t number = std::get<std::uint32_t>(value);
    const auto* first = reinterpret_cast<const BYTE*>(&number);
    data.assign(first, first + sizeof number);
  } else {
    return ERROR_INVALID_PARAMETER;
  }
  LSTATUS created = ERROR_SUCCESS;
  UniqueHKey key = CreateRegKey(root, sub_key, KEY_SET_VALUE, &created);
  if (!key) return created;
  const LSTATUS written = RegSetValueExW(key.get(), win::Widen(value_name).c_str(), 0, value_type,
                                         data.data(), static_cast<DWORD>(data.size()));
  const LSTATUS closed = RegCloseKey(key.release());
  return written != ERROR_SUCCESS ? written : closed;
}

LSTATUS RegDeleteKeyPath(HKEY root, std::string_view sub_key) {
  if (sub_key.empty()) return ERROR_INVALID_PARAMETER;
  return RegDeleteKeyW(root, win::Widen(sub_key).c_str());
}

std::string AppDir() { return Module().dir; }

std::string ExeFileName() { return Module().file; }

} // namespace id3
