// id3v1: the tag store and the audio facts on the command line.
#include "cli/app.h"
#include "cli/args.h"

#include <iostream>

int main(int argc, char** argv) {
  return id3::cli::RunCli(id3::cli::Utf8Arguments(argc, argv), std::cout, std::cerr);
}
