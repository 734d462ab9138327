// The owner of an open registry key. Windows builds only.
#pragma once

#include <windows.h>

#include <memory>
#include <string_view>
#include <type_traits>

namespace id3 {

struct RegKeyCloser {
  void operator()(HKEY key) const { RegCloseKey(key); }
};
using UniqueHKey = std::unique_ptr<std::remove_pointer_t<HKEY>, RegKeyCloser>;

// Opens sub_key below root (root itself anew when sub_key is empty); empty
// when the key is missing or refused.
UniqueHKey OpenRegKey(HKEY root, std::string_view sub_key, REGSAM access);

// Opens sub_key below root, creating it and any missing parents; empty when
// refused. status, when given, receives the outcome.
UniqueHKey CreateRegKey(HKEY root, std::string_view sub_key, REGSAM access,
                        LSTATUS* status = nullptr);

} // namespace id3
