#include "platform/tcp_socket.h"

#include <winsock2.h>

#include <cerrno>

int waitForSocket(TcpSocket tcpSocket, bool forReading, int timeoutMs) {
  const SOCKET socket = static_cast<SOCKET>(tcpSocket);
  fd_set ready;
  fd_set failed;
  FD_ZERO(&ready);
  FD_ZERO(&failed);
  FD_SET(socket, &ready);
  FD_SET(socket, &failed);
  timeval limit{};
  if (timeoutMs >= 0) {
    limit.tv_sec = timeoutMs / 1000;
    limit.tv_usec = (timeoutMs % 1000) * 1000;
  }
  int got = select(0, forReading ? &ready : nullptr,
                   forReading ? nullptr : &ready, &failed,
                   timeoutMs >= 0 ? &limit : nullptr);
  if (got == SOCKET_ERROR) {
    errno = WSAGetLastError();
  } else if (got == 0) {
    got = SOCKET_ERROR;
    WSASetLastError(WSAETIMEDOUT);
    errno = ETIMEDOUT;
  } else if (FD_ISSET(socket, &failed)) {
    int error = 0;
    int length = sizeof error;
    if (getsockopt(socket, SOL_SOCKET, SO_ERROR,
                   reinterpret_cast<char*>(&error), &length) != SOCKET_ERROR) {
      WSASetLastError(error);
      errno = error;
    }
    got = SOCKET_ERROR;
  }
  return got;
}

void releasePortOnClose(TcpSocket socket) {
  if (socket == kNoSocket) return;
  const linger immediately{1, 0};
  setsockopt(static_cast<SOCKET>(socket), SOL_SOCKET, SO_LINGER,
             reinterpret_cast<const char*>(&immediately), sizeof immediately);
}

bool saysNoFreeLocalPort(const std::string& text) {
  // WSAEADDRINUSE and WSAENOBUFS: what a connect says when Windows has no
  // dynamic port left.
  for (const std::string ending : {"(10048)", "(10055)"}) {
    if (text.size() >= ending.size() &&
        text.compare(text.size() - ending.size(), ending.size(), ending) ==
            0) {
      return true;
    }
  }
  return false;
}
