// Releasing a TCP connection's local port at once. A TCP connection that
// the client closes first holds its local port for a minute afterwards
// (TIME_WAIT), and a run opens one connection per hex: the next run would
// find no port free. Closed with a zero linger time, the socket is released
// at once; the quit command has gone out by then, so the server still sees
// an orderly end.
#ifndef ZELKOR_WEBMAP_TCP_PORT_RELEASE_H_
#define ZELKOR_WEBMAP_TCP_PORT_RELEASE_H_

#include <array>

// Finds the TCP socket that a connect opens. MySQL++ keeps the client handle,
// and so the socket, to itself; but connections are opened one after
// another, and a new socket gets the lowest free descriptor, or one just
// above it when the client library keeps a file of its own open meanwhile.
class ConnectionSocketFinder {
 public:
  // Call before the connect.
  ConnectionSocketFinder();
  // Call after the connect: the descriptor of its TCP socket, or -1 (a
  // local socket, or none found).
  int find() const;

 private:
  static constexpr int kLooked = 4;
  int lowestFree_ = 0;
  std::array<bool, kLooked> openBefore_{};
};

// Sets a zero linger time on the socket fd (nothing when fd < 0), so that
// closing it frees its local port at once.
void releasePortOnClose(int fd);

#endif  // ZELKOR_WEBMAP_TCP_PORT_RELEASE_H_
