// Registry values by key path, and the running program's folder and name. Windows
// builds only.
#pragma once

#include "tools/regkey_win32.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

namespace id3 {

// A value as text: numbers (type 4) as at least three digits, raw bytes
// (type 3) as hex, strings as stored. Empty on any failure, also for data
// longer than 2048 bytes. An empty value_name names the default value.
std::string RegGetString(HKEY root, std::string_view sub_key, std::string_view value_name);

// A string for REG_SZ (stored with its terminating NUL), a number for
// REG_DWORD.
using RegData = std::variant<std::string, std::uint32_t>;

// Creates sub_key with any missing parents and writes the value. (Not named
// RegSetValue: <windows.h> defines that name as a macro.) Returns the
// first failing status of the creation, the write and the closing, 0 when all
// succeeded; ERROR_INVALID_PARAMETER for a type other than the two above or a
// value of the other kind.
LSTATUS RegWriteValue(HKEY root, std::string_view sub_key, std::string_view value_name,
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
