// A lock on a file that lasts as long as the process: exclusive for one
// holder, or shared among many. Each system has its own file
// (file_lock_posix.cc: flock; file_lock_windows.cc: LockFileEx).
#ifndef ZELKOR_PLATFORM_FILE_LOCK_H_
#define ZELKOR_PLATFORM_FILE_LOCK_H_

#include <string>

enum class LockKind { kExclusive, kShared };

enum class LockResult {
  kLocked,
  kHeldElsewhere,  // another process holds a lock in the way
  kNotLocked,      // the file cannot be opened or locked at all
};

// Locks the file at path until the process ends: the file stays open when
// this object goes, and the lock with it.
class ProcessFileLock {
 public:
  explicit ProcessFileLock(const std::string& path);
  // With wait, waits for a lock in the way to go; without, says
  // kHeldElsewhere at once.
  LockResult lock(LockKind kind, bool wait);

 private:
  // The open file, left open on purpose: the lock lasts as long as the
  // process. -1 when it could not be opened.
  long long handle_;
};

#endif  // ZELKOR_PLATFORM_FILE_LOCK_H_
