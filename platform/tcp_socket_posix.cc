#include "platform/tcp_socket.h"

#include <poll.h>
#include <sys/socket.h>

#include <cerrno>

int waitForSocket(TcpSocket socket, bool forReading, int timeoutMs) {
  pollfd ready{static_cast<int>(socket),
               static_cast<short>(forReading ? POLLIN : POLLOUT), 0};
  int got;
  do {
    got = poll(&ready, 1, timeoutMs == 0 ? -1 : timeoutMs);
  } while (got == -1 && errno == EINTR);
  if (got == 0) errno = ETIMEDOUT;
  return got;
}

void releasePortOnClose(TcpSocket socket) {
  if (socket == kNoSocket) return;
  const linger immediately{1, 0};
  setsockopt(static_cast<int>(socket), SOL_SOCKET, SO_LINGER, &immediately,
             sizeof immediately);
}

bool saysNoFreeLocalPort(const std::string& text) {
  // EADDRNOTAVAIL
  const std::string noFreeLocalAddress = "(99)";
  return text.size() >= noFreeLocalAddress.size() &&
         text.compare(text.size() - noFreeLocalAddress.size(),
                      noFreeLocalAddress.size(), noFreeLocalAddress) == 0;
}
