// The process's surroundings, as each system tells them: the console it
// reads and writes, its environment (process_posix.cc, process_windows.cc).
#ifndef ZELKOR_PLATFORM_PROCESS_H_
#define ZELKOR_PLATFORM_PROCESS_H_

// Standard error is a terminal or a console window that a person watches,
// not a file or a pipe.
bool standardErrorIsConsole();

// Standard input is the terminal or the console window a person types in,
// not a file, a pipe or the null device (as a script or a scheduled task
// gives a program): only then is there anybody to press a key.
bool standardInputIsConsole();

// Makes every line written to standard output reach the file or pipe it
// goes to as soon as its line end is written, so that a log shows how far a
// run got even when the run is killed. (The Windows C library takes a
// request for line buffering as one for full buffering: there standard
// output is left unbuffered instead.)
void sendStandardOutputLineByLine();

// Sets the environment variable name to value for this process and the
// library code it runs.
void setEnvironmentVariable(const char* name, const char* value);

#endif  // ZELKOR_PLATFORM_PROCESS_H_
