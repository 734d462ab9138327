// The store a host keeps a control's persisted properties in: named 32-bit
// values, each read with a default and left out when written with a value
// equal to its default, so that an instance with all defaults stores nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>

namespace id3 {

class PropertyBag {
public:
  using Value = std::uint32_t;

  // The stored value, or defaultValue when the bag holds none under name.
  Value ReadProperty(std::string_view name, Value defaultValue) const;
  // Stores value; one equal to defaultValue removes any entry instead.
  void WriteProperty(std::string_view name, Value value, Value defaultValue);

  bool Contains(std::string_view name) const;
  std::size_t Size() const { return values_.size(); }

private:
  std::map<std::string, Value, std::less<>> values_;
};

} // namespace id3
