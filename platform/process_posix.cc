#include "platform/process.h"

#include <stdlib.h>
#include <unistd.h>

#include <cstdio>

bool standardErrorIsConsole() { return isatty(STDERR_FILENO) != 0; }

bool standardInputIsConsole() { return isatty(STDIN_FILENO) != 0; }

void sendStandardOutputLineByLine() {
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
}

void setEnvironmentVariable(const char* name, const char* value) {
  setenv(name, value, 1);
}
