// Entry point of the Zelkor Generator. Command-line arguments are ignored:
// config.txt in the working directory is the tool's only source of settings.
#include <iostream>
#include <string>

#include "driver/generator.h"
#include "platform/process.h"

int main(int argc, char** argv) {
  // Each line goes out as it is written, also into a pipe or a file: a run
  // that is killed leaves in the log how far it got.
  sendStandardOutputLineByLine();
  if (argc > 1) std::cerr << ignoredArgumentsLine(argc - 1, argv + 1);
  return runGenerator(std::cout, std::cerr);
}
