#include "webmap/tcp_port_release.h"

#include <fcntl.h>
#include <sys/socket.h>

namespace {

bool isOpen(int fd) { return fcntl(fd, F_GETFD) != -1; }

bool isTcpSocket(int fd) {
  sockaddr_storage address{};
  socklen_t length = sizeof address;
  int type = 0;
  socklen_t typeLength = sizeof type;
  return getsockopt(fd, SOL_SOCKET, SO_TYPE, &type, &typeLength) == 0 &&
         type == SOCK_STREAM &&
         getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0 &&
         (address.ss_family == AF_INET || address.ss_family == AF_INET6);
}

}  // namespace

ConnectionSocketFinder::ConnectionSocketFinder(mysqlpp::Connection&) {
  while (isOpen(lowestFree_)) ++lowestFree_;
  for (int i = 0; i < kLooked; ++i) openBefore_[i] = isOpen(lowestFree_ + i);
}

ConnectionSocket ConnectionSocketFinder::find() const {
  for (int i = 0; i < kLooked; ++i) {
    if (!openBefore_[i] && isTcpSocket(lowestFree_ + i)) {
      return lowestFree_ + i;
    }
  }
  return kNoSocket;
}

void releasePortOnClose(ConnectionSocket socket) {
  if (socket == kNoSocket) return;
  const int fd = static_cast<int>(socket);
  const linger immediately{1, 0};
  setsockopt(fd, SOL_SOCKET, SO_LINGER, &immediately, sizeof immediately);
}

bool saysNoFreeLocalPort(const std::string& text) {
  // EADDRNOTAVAIL
  const std::string noFreeLocalAddress = "(99)";
  return text.size() >= noFreeLocalAddress.size() &&
         text.compare(text.size() - noFreeLocalAddress.size(),
                      noFreeLocalAddress.size(), noFreeLocalAddress) == 0;
}
