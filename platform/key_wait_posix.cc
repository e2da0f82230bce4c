#include "platform/key_wait.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <iterator>

namespace {

// The terminal and its settings from before a key wait changed them, for the
// signal handlers below.
int gWaitTerminal = -1;
termios gSavedSettings{};

// Signals that end the tool while it waits, sent from elsewhere (the keys
// that make them at the terminal are plain keys during the wait).
constexpr int kEndingSignals[] = {SIGHUP, SIGINT, SIGQUIT, SIGTERM};

// Puts the terminal back as it was, then lets the signal end the tool as it
// would have: the handler is reset on entry, so the signal raised again is
// delivered with its default action once the handler returns.
void restoreTerminalAndEnd(int signal) {
  tcsetattr(gWaitTerminal, TCSANOW, &gSavedSettings);
  raise(signal);
}

// Restores the terminal on every way out of the wait that the tool can see.
class TerminalGuard {
 public:
  TerminalGuard(int fd, const termios& saved) {
    gWaitTerminal = fd;
    gSavedSettings = saved;
    struct sigaction restore {};
    restore.sa_handler = restoreTerminalAndEnd;
    restore.sa_flags = SA_RESETHAND;
    sigemptyset(&restore.sa_mask);
    for (size_t i = 0; i < std::size(kEndingSignals); ++i) {
      sigaction(kEndingSignals[i], &restore, &previous_[i]);
    }
  }
  ~TerminalGuard() {
    tcsetattr(gWaitTerminal, TCSANOW, &gSavedSettings);
    for (size_t i = 0; i < std::size(kEndingSignals); ++i) {
      sigaction(kEndingSignals[i], &previous_[i], nullptr);
    }
    gWaitTerminal = -1;
  }
  TerminalGuard(const TerminalGuard&) = delete;
  TerminalGuard& operator=(const TerminalGuard&) = delete;

 private:
  struct sigaction previous_[std::size(kEndingSignals)]{};
};

// A function or cursor key sends several bytes at once; take the rest of them
// too so that they do not spill into the shell after the tool has ended.
void drainPendingInput(int fd) {
  char discard[64];
  pollfd pending{fd, POLLIN, 0};
  while (poll(&pending, 1, 50) > 0 && (pending.revents & POLLIN)) {
    if (read(fd, discard, sizeof discard) <= 0) break;
  }
}

}  // namespace

void waitForKey() {
  const int fd = open("/dev/tty", O_RDONLY | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return;
  termios saved{};
  if (tcgetattr(fd, &saved) != 0) {
    close(fd);
    return;
  }
  // One key, not a line, and not echoed. Ctrl-C, Ctrl-\ and Ctrl-Z are keys
  // like any other here: the stop ends with its own status, not killed.
  termios raw = saved;
  raw.c_lflag &= ~(ICANON | ECHO | ISIG | IEXTEN);
  raw.c_cc[VMIN] = 1;
  raw.c_cc[VTIME] = 0;
  {
    const TerminalGuard guard(fd, saved);
    if (tcsetattr(fd, TCSANOW, &raw) == 0) {
      char key;
      ssize_t got;
      do {
        got = read(fd, &key, 1);
      } while (got < 0 && errno == EINTR);
      if (got > 0) drainPendingInput(fd);
    }
  }
  close(fd);
}
