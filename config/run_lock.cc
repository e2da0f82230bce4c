#include "config/run_lock.h"

#include <fcntl.h>
#include <sys/file.h>

#include <cerrno>

void lockForRun(const std::string& path, RunLock kind, std::ostream& out) {
  // Left open on purpose: the lock lasts as long as the process.
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return;
  const int operation = kind == RunLock::kExclusive ? LOCK_EX : LOCK_SH;
  if (flock(fd, operation | LOCK_NB) == 0) return;
  if (errno != EWOULDBLOCK) return;
  out << "Info:   Another run is using " << path
      << " in this folder. Waiting for it to end...\n";
  out.flush();
  while (flock(fd, operation) != 0 && errno == EINTR) {
  }
}
