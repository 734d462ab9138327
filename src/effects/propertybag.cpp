#include "effects/propertybag.h"

namespace id3 {

PropertyBag::Value PropertyBag::ReadProperty(std::string_view name, Value defaultValue) const {
  const auto found = values_.find(name);
  return found == values_.end() ? defaultValue : found->second;
}

void PropertyBag::WriteProperty(std::string_view name, Value value, Value defaultValue) {
  const auto found = values_.find(name);
  if (value == defaultValue) {
    // A bag saved again must not keep a stale value that now equals the default.
    if (found != values_.end()) values_.erase(found);
    return;
  }
  if (found != values_.end())
    found->second = value;
  else
    values_.emplace(std::string(name), value);
}

bool PropertyBag::Contains(std::string_view name) const { return values_.contains(name); }

} // namespace id3
