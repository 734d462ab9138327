// The registry, written once for the whole program: the owner of an open key,
// and a value's data read and written. The settings and the shell verb both
// keep their text here. Windows builds only.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

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

// A value as stored: its type (REG_SZ, REG_DWORD, ...) and its bytes.
struct RegValue {
  DWORD type = REG_NONE;
  std::vector<std::uint8_t> data;
};

// The value name of key (an empty name: the key's default value); nothing
// when it is missing, cannot be read, or holds more than limit bytes.
std::optional<RegValue> ReadRegValue(HKEY key, std::string_view name,
                                     std::size_t limit = std::numeric_limits<DWORD>::max());

// A 32-bit number value (REG_DWORD); nothing when it is missing, cannot be
// read or is of another type.
std::optional<std::uint32_t> ReadRegNumber(HKEY key, std::string_view name);

// The data of a string value as UTF-16, every code unit of it: a terminating
// NUL, where the data holds one, included.
std::wstring RegText(const RegValue& value);

// A string value (REG_SZ), stored with its terminating NUL, and a 32-bit
// number (REG_DWORD). The status of the write.
LSTATUS WriteRegText(HKEY key, std::string_view name, std::string_view text);
LSTATUS WriteRegNumber(HKEY key, std::string_view name, std::uint32_t number);

} // namespace id3
