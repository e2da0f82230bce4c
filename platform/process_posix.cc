#include "platform/process.h"

#include <stdlib.h>
#include <unistd.h>

bool standardErrorIsConsole() { return isatty(STDERR_FILENO) != 0; }

void setEnvironmentVariable(const char* name, const char* value) {
  setenv(name, value, 1);
}
