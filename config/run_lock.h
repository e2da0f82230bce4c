// Keeps runs in one folder from overlapping: a generator run holds an
// exclusive lock on config.txt for its whole length, the map page a shared
// one, so that a second run waits for the first and the page never draws a
// half-written webmap. The lock ends with the process.
#ifndef ZELKOR_CONFIG_RUN_LOCK_H_
#define ZELKOR_CONFIG_RUN_LOCK_H_

#include <ostream>
#include <string>

enum class RunLock { kExclusive, kShared };

// Locks the file at path until the process ends. When another process holds
// a lock in the way, writes one line saying so to out and waits for it.
// Does nothing when the file cannot be opened: reading it then says why.
void lockForRun(const std::string& path, RunLock kind, std::ostream& out);

#endif  // ZELKOR_CONFIG_RUN_LOCK_H_
