#include "platform/file_lock.h"

#include <fcntl.h>
#include <sys/file.h>

#include <cerrno>

ProcessFileLock::ProcessFileLock(const std::string& path)
    : handle_(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)) {}

LockResult ProcessFileLock::lock(LockKind kind, bool wait) {
  if (handle_ < 0) return LockResult::kNotLocked;
  const int fd = static_cast<int>(handle_);
  const int operation = (kind == LockKind::kExclusive ? LOCK_EX : LOCK_SH) |
                        (wait ? 0 : LOCK_NB);
  while (flock(fd, operation) != 0) {
    if (errno == EINTR) continue;
    return errno == EWOULDBLOCK ? LockResult::kHeldElsewhere
                                : LockResult::kNotLocked;
  }
  return LockResult::kLocked;
}
