#include "platform/process.h"

#include <stdlib.h>
#include <windows.h>

#include <cstdio>

namespace {

// A console answers GetConsoleMode; a file, a pipe and the NUL device do
// not. (_isatty says yes to the NUL device as well.)
bool isConsole(DWORD standardHandle) {
  DWORD mode = 0;
  return GetConsoleMode(GetStdHandle(standardHandle), &mode) != 0;
}

}  // namespace

bool standardErrorIsConsole() { return isConsole(STD_ERROR_HANDLE); }

bool standardInputIsConsole() { return isConsole(STD_INPUT_HANDLE); }

void sendStandardOutputLineByLine() {
  // _IOLBF is full buffering here: a redirected run's log stayed empty
  // until the run ended. Unbuffered, each piece of a line is written as it
  // comes, with the C library's line-end translation as before.
  std::setvbuf(stdout, nullptr, _IONBF, 0);
}

void setEnvironmentVariable(const char* name, const char* value) {
  _putenv_s(name, value);
}
