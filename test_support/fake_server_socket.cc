#include "test_support/fake_server_socket.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <stdexcept>

FakeServerSocket::FakeServerSocket(const std::string& path) : path_(path) {
  fd_ = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (fd_ < 0 || path.size() >= sizeof address.sun_path) {
    throw std::runtime_error("cannot make socket " + path);
  }
  std::strcpy(address.sun_path, path.c_str());
  if (bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      listen(fd_, 8) != 0) {
    throw std::runtime_error("cannot listen on " + path);
  }
}

FakeServerSocket::~FakeServerSocket() {
  close(fd_);
  unlink(path_.c_str());
}

bool FakeServerSocket::connectionAttempted() const {
  const int accepted = accept(fd_, nullptr, nullptr);
  if (accepted < 0) return false;
  close(accepted);
  return true;
}
