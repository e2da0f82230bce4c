#include "platform/file_facts.h"

#include <fcntl.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include "base/unique_fd.h"

std::filesystem::path systemPath(const std::string& text) { return text; }

PathKind pathKind(const std::string& path) {
  struct stat status {};
  if (stat(path.c_str(), &status) != 0) return PathKind::kMissing;
  if (S_ISREG(status.st_mode)) return PathKind::kFile;
  if (S_ISDIR(status.st_mode)) return PathKind::kFolder;
  return PathKind::kOther;
}

bool mayRead(const std::string& path) {
  return access(path.c_str(), R_OK) == 0;
}

bool readableByOthers(const std::string& path) {
  struct stat status {};
  return stat(path.c_str(), &status) == 0 &&
         (status.st_mode & (S_IRGRP | S_IROTH)) != 0;
}

std::string canonicalPath(const std::string& path) {
  char resolved[PATH_MAX];
  return realpath(path.c_str(), resolved) != nullptr ? resolved : path;
}

BoundedRead readFileUpTo(const std::string& path, size_t limit,
                         std::string& text) {
  // Opened without waiting: a pipe or a device that has nothing to give
  // must not hold the caller.
  const UniqueFd file(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  if (file.get() < 0) return BoundedRead::kCannotOpen;
  // The one opened is the one looked at: a pipe or a device would be read
  // without end.
  struct stat status {};
  if (fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode)) {
    return BoundedRead::kNotAFile;
  }
  char buffer[65536];
  text.clear();
  while (text.size() <= limit) {
    const ssize_t got = read(file.get(), buffer, sizeof buffer);
    if (got == 0) return BoundedRead::kRead;
    if (got < 0) return BoundedRead::kNotAFile;
    text.append(buffer, static_cast<size_t>(got));
  }
  return BoundedRead::kTooLarge;
}
