// The per-user application settings: text values under
// HKEY_CURRENT_USER\Software\<application>\<section>. Windows builds only.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace id3::win {

// The stored text; none when the value is missing or not text.
std::optional<std::string> GetSetting(std::string_view app, std::string_view section,
                                      std::string_view key);

// Stores the text, creating the keys as needed; false when the registry
// refuses.
bool SaveSetting(std::string_view app, std::string_view section, std::string_view key,
                 std::string_view value);

} // namespace id3::win
