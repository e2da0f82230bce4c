#include "platform/file_lock.h"

#include <windows.h>

#include <cstdint>

namespace {

HANDLE handleOf(long long value) {
  return reinterpret_cast<HANDLE>(static_cast<intptr_t>(value));
}

}  // namespace

// Others may go on reading and writing the file, as on Linux, where the lock
// only keeps out other locks.
ProcessFileLock::ProcessFileLock(const std::string& path)
    : handle_(static_cast<long long>(reinterpret_cast<intptr_t>(CreateFileA(
          path.c_str(), GENERIC_READ,
          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)))) {}

LockResult ProcessFileLock::lock(LockKind kind, bool wait) {
  const HANDLE file = handleOf(handle_);
  if (file == INVALID_HANDLE_VALUE) return LockResult::kNotLocked;
  const DWORD flags = (kind == LockKind::kExclusive ? LOCKFILE_EXCLUSIVE_LOCK
                                                     : 0) |
                      (wait ? 0 : LOCKFILE_FAIL_IMMEDIATELY);
  // Windows' locks keep others from reading and writing the bytes they
  // cover: one byte far beyond the end of any config.txt keeps out other
  // locks only, and the file stays free to read and to edit.
  OVERLAPPED at{};
  at.OffsetHigh = 0x40000000;
  if (LockFileEx(file, flags, 0, 1, 0, &at)) {
    return LockResult::kLocked;
  }
  return GetLastError() == ERROR_LOCK_VIOLATION ? LockResult::kHeldElsewhere
                                                : LockResult::kNotLocked;
}
