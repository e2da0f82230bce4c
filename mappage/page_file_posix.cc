#include "mappage/page_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

Outcome<Done, PageFileFailure> replaceFile(const std::string& path,
                                           const std::string& text) {
  using Step = PageFileFailure::Step;
  using Replaced = Outcome<Done, PageFileFailure>;
  std::string pattern = path + ".tmp-XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  const int fd = mkstemp(name.data());
  if (fd < 0) return Replaced::failed({Step::kCreate, path, errno});
  // Closes (unless closed) and removes the temporary file, keeping the
  // error of the step that failed.
  const auto fail = [&](Step step, bool closed = false) {
    const int error = errno;
    if (!closed) close(fd);
    unlink(name.data());
    return Replaced::failed(
        {step, step == Step::kReplace ? path : name.data(), error});
  };
  size_t written = 0;
  while (written < text.size()) {
    const ssize_t got = write(fd, text.data() + written, text.size() - written);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return fail(Step::kWrite);
    written += static_cast<size_t>(got);
  }
  if (fchmod(fd, 0644) != 0) return fail(Step::kSetMode);
  if (fsync(fd) != 0) return fail(Step::kWrite);
  if (close(fd) != 0) return fail(Step::kWrite, true);
  if (std::rename(name.data(), path.c_str()) != 0) {
    return fail(Step::kReplace, true);
  }
  return Done{};
}
