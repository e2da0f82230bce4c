// The fatal stop: the run's text (prompt included) goes out first, then the
// tool waits for one key on the console so that a user who started it from a
// desktop sees why it stopped.
#ifndef ZELKOR_DRIVER_FATAL_STOP_H_
#define ZELKOR_DRIVER_FATAL_STOP_H_

#include <ostream>
#include <string>

// The prompt that ends the text of every fatal stop but the unreadable game
// database's.
constexpr char kPressAnyKey[] = "Press any key to exit...\n";

// Writes text to out, flushes it, waits for one key press and returns status,
// which the caller returns from the entry point.
int fatalStop(std::ostream& out, const std::string& text, int status);

// Reads one key press from the terminal device (/dev/tty), without echo and
// without waiting for Enter, and restores the terminal afterwards. Standard
// input is never read, so a redirected one cannot answer. Returns at once when
// the process has no terminal.
void waitForKeyPress();

#endif  // ZELKOR_DRIVER_FATAL_STOP_H_
