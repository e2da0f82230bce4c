// Waiting for one key at the console, the way a stop asks for it: without
// echo and without waiting for Enter. Each system has its own file
// (key_wait_posix.cc, key_wait_windows.cc).
#ifndef ZELKOR_PLATFORM_KEY_WAIT_H_
#define ZELKOR_PLATFORM_KEY_WAIT_H_

// Waits for one key at the console the process was started from (Linux: the
// terminal device /dev/tty, restored afterwards; Windows: the console input
// CONIN$). Standard input is never read, so a redirected one cannot answer.
// Ctrl-C is a key like any other here, and a modifier key (Shift, Ctrl,
// Alt) pressed on its own does not end the wait. Without a console (a
// script, a service, input from a file; on Windows also a process without
// a console window) it returns at once.
void waitForKey();

#endif  // ZELKOR_PLATFORM_KEY_WAIT_H_
