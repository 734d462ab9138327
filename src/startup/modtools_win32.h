// Registry and program-folder helpers. Windows builds only.
#pragma once

#include <windows.h>
// <windows.h> maps RegSetValue to RegSetValueW; this module's own function of
// that name must keep it.
#undef RegSetValue

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>

namespace id3 {

struct RegKeyCloser {
  void operator()(HKEY key) const { RegCloseKey(key); }
};
using UniqueHKey = std::unique_ptr<std::remove_pointer_t<HKEY>, RegKeyCloser>;

// Opens sub_key below root (root itself anew when sub_key is empty); empty
// when the key is missing or refused.
UniqueHKey OpenRegKey(HKEY root, std::string_view sub_key, REGSAM access);

// A value as text: numbers (type 4) as at least three digits, raw bytes
// (type 3) as hex, strings as stored. Empty on any failure, also for data
// longer than 2048 bytes. An empty value_name names the default value.
std::string RegGetString(HKEY root, std::string_view sub_key, std::string_view value_name);

// A string for REG_SZ (stored with its terminating NUL), a number for
// REG_DWORD.
using RegData = std::variant<std::string, std::uint32_t>;

// Creates sub_key with any missing parents and writes the value. Returns the
// first failing status of the creation, the write and the closing, 0 when all
// succeeded; ERROR_INVALID_PARAMETER for a type other than the two above or a
// value of the other kind.
LSTATUS RegSetValue(HKEY root, std::string_view sub_key, std::string_view value_name,
                    DWORD value_type, const RegData& value);

// Deletes the one key sub_key below root; one that still has sub-keys stays.
// Returns the status of the deletion. An empty sub_key is refused, as it
// would name root itself.
LSTATUS RegDeleteKeyPath(HKEY root, std::string_view sub_key);

// The folder of the running program, ending in a backslash.
std::string AppDir();
// The running program's file name.
std::string ExeFileName();

} // namespace id3
