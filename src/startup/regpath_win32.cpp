#include "startup/regpath_win32.h"

#include "startup/regformat.h"
#include "startup/verb.h"
#include "tools/wintext_win32.h"

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
  const auto value = key ? ReadRegValue(key.get(), value_name, kRegValueLimit) : std::nullopt;
  // Only strings are stored where it reads: any other value reads as empty.
  if (!value || (value->type != REG_SZ && value->type != REG_EXPAND_SZ)) return {};
  const std::wstring text = RegText(*value);
  return win::Narrow(startup::CleanRegText(std::wstring_view(text)));
}

LSTATUS RegWriteValue(HKEY root, std::string_view sub_key, std::string_view value_name,
                      DWORD value_type, const RegData& value) {
  const auto* text = std::get_if<std::string>(&value);
  const auto* number = std::get_if<std::uint32_t>(&value);
  if (!(value_type == REG_SZ && text) && !(value_type == REG_DWORD && number))
    return ERROR_INVALID_PARAMETER;
  LSTATUS created = ERROR_SUCCESS;
  UniqueHKey key = CreateRegKey(root, sub_key, KEY_SET_VALUE, &created);
  if (!key) return created;
  const LSTATUS written = text ? WriteRegText(key.get(), value_name, *text)
                               : WriteRegNumber(key.get(), value_name, *number);
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
