// Entry point of the Zelkor Generator. Command-line arguments are ignored:
// config.txt in the working directory is the tool's only source of settings.
#include <cstdio>
#include <iostream>

#include "driver/generator.h"

int main() {
  // Each line goes out as it is written, also into a pipe or a file: a run
  // that is killed leaves in the log how far it got.
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  return runGenerator(std::cout, std::cerr);
}
