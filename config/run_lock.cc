#include "config/run_lock.h"

#include "platform/file_lock.h"

void lockForRun(const std::string& path, RunLock kind, std::ostream& out) {
  ProcessFileLock held(path);
  const LockKind lockKind =
      kind == RunLock::kExclusive ? LockKind::kExclusive : LockKind::kShared;
  if (held.lock(lockKind, false) != LockResult::kHeldElsewhere) return;
  out << "Info:   Another run is using " << path
      << " in this folder. Waiting for it to end...\n";
  out.flush();
  held.lock(lockKind, true);
}
