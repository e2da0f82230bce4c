#include "driver/fatal_stop.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>

namespace {

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

int fatalStop(std::ostream& out, const std::string& text, int status) {
  out << text;
  out.flush();
  waitForKeyPress();
  return status;
}

void waitForKeyPress() {
  const int fd = open("/dev/tty", O_RDONLY | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return;
  termios saved{};
  if (tcgetattr(fd, &saved) != 0) {
    close(fd);
    return;
  }
  termios raw = saved;
  raw.c_lflag &= ~(ICANON | ECHO);
  raw.c_cc[VMIN] = 1;
  raw.c_cc[VTIME] = 0;
  if (tcsetattr(fd, TCSANOW, &raw) == 0) {
    char key;
    ssize_t got;
    do {
      got = read(fd, &key, 1);
    } while (got < 0 && errno == EINTR);
    if (got > 0) drainPendingInput(fd);
    tcsetattr(fd, TCSANOW, &saved);
  }
  close(fd);
}
