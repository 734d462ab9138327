// The start-up's reading of the argument text over arbitrary text: an option
// is only ever found where its letters stand, and never inside double quotes.
#include "startup/options.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

std::string Lower(std::string s) {
  std::ranges::transform(s, s.begin(), [](char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  });
  return s;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  const auto choice = id3::startup::ChooseAction(text);
  const std::string lower = Lower(text);
  using id3::startup::Action;
  if (choice.action == Action::Register && lower.find("-register") == std::string::npos)
    std::abort();
  if (choice.action == Action::Unregister && lower.find("-unregister") == std::string::npos)
    std::abort();
  // The same text as one quoted path names no option at all.
  std::ranges::replace(text, '"', '\'');
  if (id3::startup::ChooseAction("\"" + text + "\"").action != Action::OpenWindow) std::abort();
  return 0;
}
