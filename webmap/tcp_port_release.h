// Releasing a TCP connection's local port at once. A TCP connection that
// the client closes first holds its local port for a while afterwards
// (TIME_WAIT: a minute on Linux, up to four on Windows), and a run opens one
// connection per hex: the next run would find no port free. Closed with a
// zero linger time, the socket is released at once; the quit command has
// gone out by then, so the server still sees an orderly end. Each system
// finds the socket its own way (tcp_port_release_posix.cc,
// tcp_port_release_windows.cc).
#ifndef ZELKOR_WEBMAP_TCP_PORT_RELEASE_H_
#define ZELKOR_WEBMAP_TCP_PORT_RELEASE_H_

#include <array>
#include <string>

namespace mysqlpp {
class Connection;
}

// A connection's socket: a file descriptor on Linux, a SOCKET on Windows;
// kNoSocket when none was found.
using ConnectionSocket = long long;
constexpr ConnectionSocket kNoSocket = -1;

// Finds the TCP socket that a connect opens, though MySQL++ keeps the
// client handle, and so the socket, to itself. On Linux: connections are
// opened one after another, and a new socket gets the lowest free
// descriptor, or one just above it when the client library keeps a file of
// its own open meanwhile. On Windows, where socket handles follow no such
// order: the client library is asked to let this code do its waits for the
// socket, and so names it.
class ConnectionSocketFinder {
 public:
  // Call before the connect, with the connection that will open it.
  explicit ConnectionSocketFinder(mysqlpp::Connection& conn);
  // Call after the connect: its TCP socket, or kNoSocket.
  ConnectionSocket find() const;

 private:
  static constexpr int kLooked = 4;
  int lowestFree_ = 0;
  std::array<bool, kLooked> openBefore_{};
};

// Sets a zero linger time on the socket (nothing for kNoSocket), so that
// closing it frees its local port at once.
void releasePortOnClose(ConnectionSocket socket);

// The client library's text for a failed connect says that no local port
// was free (it ends in the system's error number for it).
bool saysNoFreeLocalPort(const std::string& text);

#endif  // ZELKOR_WEBMAP_TCP_PORT_RELEASE_H_
