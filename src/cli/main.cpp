// id3v1: the tag store and the audio facts on the command line.
#include "cli/app.h"
#include "cli/args.h"

#include <iostream>

int main(int argc, char** argv) {
  int status = 0;
  {
    const id3::cli::Utf8Console console;
    status = id3::cli::RunCli(id3::cli::Utf8Arguments(argc, argv), std::cout, std::cerr);
    // Everything is out before the console's code page goes back.
    std::cout.flush();
  }
  return status;
}
