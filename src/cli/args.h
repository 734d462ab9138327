// The process's arguments as UTF-8, and a console that shows UTF-8.
#pragma once

#include <string>
#include <vector>

namespace id3::cli {

std::vector<std::string> Utf8Arguments(int argc, char** argv);

// While it lives, the console shows the UTF-8 the tool writes; the code page
// the console had is put back afterwards, since the console outlives the tool.
// Elsewhere the terminal speaks UTF-8 already and nothing changes.
class Utf8Console {
public:
  Utf8Console();
  ~Utf8Console();
  Utf8Console(const Utf8Console&) = delete;
  Utf8Console& operator=(const Utf8Console&) = delete;

private:
  [[maybe_unused]] unsigned saved_ = 0;
};

} // namespace id3::cli
