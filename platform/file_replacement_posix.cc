#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

#include "platform/file_replacement.h"

namespace file_replacement {

int createBeside(const std::string& path, std::string& name) {
  const std::string pattern = path + ".tmp-XXXXXX";
  std::vector<char> chosen(pattern.begin(), pattern.end());
  chosen.push_back('\0');
  const int fd = mkstemp(chosen.data());
  if (fd >= 0) name = chosen.data();
  return fd;
}

bool writeAll(int fd, const std::string& text) {
  size_t written = 0;
  while (written < text.size()) {
    const ssize_t got = write(fd, text.data() + written, text.size() - written);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    written += static_cast<size_t>(got);
  }
  return true;
}

bool letEveryoneRead(int fd) { return fchmod(fd, 0644) == 0; }

bool flushToDisk(int fd) { return fsync(fd) == 0; }

bool closeFile(int fd) { return close(fd) == 0; }

bool renameOver(const std::string& from, const std::string& to) {
  return std::rename(from.c_str(), to.c_str()) == 0;
}

void removeFile(const std::string& name) { unlink(name.c_str()); }

}  // namespace file_replacement
