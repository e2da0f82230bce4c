// The process's surroundings, as each system tells them: the console it
// writes to, its environment (process_posix.cc, process_windows.cc).
#ifndef ZELKOR_PLATFORM_PROCESS_H_
#define ZELKOR_PLATFORM_PROCESS_H_

// Standard error is a terminal or a console window that a person watches,
// not a file or a pipe.
bool standardErrorIsConsole();

// Sets the environment variable name to value for this process and the
// library code it runs.
void setEnvironmentVariable(const char* name, const char* value);

#endif  // ZELKOR_PLATFORM_PROCESS_H_
