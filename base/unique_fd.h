// A file descriptor (a file, a socket) that is closed when it goes out of
// scope; -1 holds nothing.
#ifndef ZELKOR_BASE_UNIQUE_FD_H_
#define ZELKOR_BASE_UNIQUE_FD_H_

#include <unistd.h>

class UniqueFd {
 public:
  explicit UniqueFd(int fd) : fd_(fd) {}
  ~UniqueFd() {
    if (fd_ >= 0) close(fd_);
  }
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

#endif  // ZELKOR_BASE_UNIQUE_FD_H_
