// Entry point of the Zelkor Generator. Command-line arguments are ignored:
// config.txt in the working directory is the tool's only source of settings.
#include <iostream>

#include "driver/generator.h"

int main() { return runGenerator(std::cout, std::cerr); }
