#include <winsock2.h>
#include <windows.h>

#include <mysql++/dbdriver.h>
#include <mysql++/mysql++.h>

#include <cerrno>

#include "webmap/tcp_port_release.h"

namespace {

// The socket the client library last waited on in this thread.
thread_local ConnectionSocket tSocketSeen = kNoSocket;

// The client library's own wait for a socket (select, as it does it on
// Windows), noting the socket. It waits at least once in every TCP connect
// (it connects without blocking, then waits for the socket to be ready).
int waitNotingSocket(my_socket socket, my_bool forReading, int timeoutMs) {
  tSocketSeen = static_cast<ConnectionSocket>(socket);
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

// Set through Connection::set_option, so that it applies to the handle the
// connect uses (the driver makes its handle anew before a connect).
class NoteSocketOption : public mysqlpp::Option {
 public:
  Error set(mysqlpp::DBDriver* driver) override {
    int (*const wait)(my_socket, my_bool, int) = waitNotingSocket;
    return driver->set_option(MARIADB_OPT_IO_WAIT,
                              reinterpret_cast<const void*>(wait))
               ? err_NONE
               : err_api_reject;
  }
};

}  // namespace

ConnectionSocketFinder::ConnectionSocketFinder(mysqlpp::Connection& conn) {
  tSocketSeen = kNoSocket;
  conn.set_option(new NoteSocketOption);
}

ConnectionSocket ConnectionSocketFinder::find() const { return tSocketSeen; }

void releasePortOnClose(ConnectionSocket socket) {
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
