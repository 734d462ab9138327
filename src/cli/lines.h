// Text built with <<, as with a string stream, but without the streams'
// locale machinery: on Windows, linked statically, any stream brings about a
// megabyte of it into id3v1.exe.
#pragma once

#include <concepts>
#include <string>
#include <string_view>
#include <utility>

namespace id3::cli {

class Lines {
public:
  Lines& operator<<(std::string_view text) {
    text_ += text;
    return *this;
  }
  Lines& operator<<(char c) {
    text_ += c;
    return *this;
  }
  // A char goes in as itself: the overload above is the better match.
  template <std::integral Number> Lines& operator<<(Number n) {
    text_ += std::to_string(n);
    return *this;
  }
  std::string str() && { return std::move(text_); }

private:
  std::string text_;
};

} // namespace id3::cli
