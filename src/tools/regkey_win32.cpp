#include "tools/regkey_win32.h"

#include "tools/wintext_win32.h"

namespace id3 {

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

} // namespace id3
