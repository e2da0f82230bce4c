#include "platform/process.h"

#include <stdlib.h>
#include <windows.h>

// A console answers GetConsoleMode; a file or a pipe does not. (_isatty says
// yes to the NUL device as well.)
bool standardErrorIsConsole() {
  DWORD mode = 0;
  return GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
}

void setEnvironmentVariable(const char* name, const char* value) {
  _putenv_s(name, value);
}
