// id3v1: the tag store and the audio facts on the command line.
#include "cli/app.h"
#include "cli/args.h"

#include <cstdio>

namespace {

id3::cli::Output To(std::FILE* stream) {
  return [stream](std::string_view text) { std::fwrite(text.data(), 1, text.size(), stream); };
}

} // namespace

int main(int argc, char** argv) {
  int status = 0;
  {
    const id3::cli::Utf8Console console;
    status = id3::cli::RunCli(id3::cli::Utf8Arguments(argc, argv), To(stdout), To(stderr));
    // Everything is out before the console's code page goes back.
    std::fflush(stdout);
  }
  return status;
}
