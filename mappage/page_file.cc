#include "mappage/page_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

bool replaceFile(const std::string& path, const std::string& text,
                 std::string& error) {
  std::string pattern = path + ".tmp-XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  const int fd = mkstemp(name.data());
  if (fd < 0) {
    error = "cannot create a file beside " + path + ": " + std::strerror(errno);
    return false;
  }
  const auto fail = [&](const char* what) {
    error = std::string(what) + " " + name.data() + ": " + std::strerror(errno);
    close(fd);
    unlink(name.data());
    return false;
  };
  size_t written = 0;
  while (written < text.size()) {
    const ssize_t got = write(fd, text.data() + written, text.size() - written);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return fail("cannot write");
    written += static_cast<size_t>(got);
  }
  if (fchmod(fd, 0644) != 0) return fail("cannot set the mode of");
  if (fsync(fd) != 0) return fail("cannot write");
  if (close(fd) != 0) {
    error = std::string("cannot write ") + name.data() + ": " +
            std::strerror(errno);
    unlink(name.data());
    return false;
  }
  if (std::rename(name.data(), path.c_str()) != 0) {
    error = "cannot replace " + path + ": " + std::strerror(errno);
    unlink(name.data());
    return false;
  }
  return true;
}
