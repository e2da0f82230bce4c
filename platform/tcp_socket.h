// A connection's TCP socket, as each system handles it (tcp_socket_posix.cc,
// tcp_socket_windows.cc): waiting for it to be ready, releasing its local
// port when it closes, and what the system says when no local port is free.
#ifndef ZELKOR_PLATFORM_TCP_SOCKET_H_
#define ZELKOR_PLATFORM_TCP_SOCKET_H_

#include <string>

// A socket: a file descriptor on Linux, a SOCKET on Windows.
using TcpSocket = long long;
constexpr TcpSocket kNoSocket = -1;

// Waits until socket is ready for reading (or else writing), at most
// timeoutMs (0 or less on Linux, and less than 0 on Windows: no limit), as
// the MySQL client library waits by itself: more than 0 when ready, 0 or
// less otherwise, with errno (and on Windows the socket error) saying why;
// ETIMEDOUT when the time ran out.
int waitForSocket(TcpSocket socket, bool forReading, int timeoutMs);

// Sets a zero linger time on the socket (nothing for kNoSocket). A TCP
// connection that the client closes first holds its local port for a while
// afterwards (TIME_WAIT: a minute on Linux, up to four on Windows), and a
// run opens one connection per hex: the next run would find no port free.
// Closed with a zero linger time, the socket is released at once; the quit
// command has gone out by then, so the server still sees an orderly end.
void releasePortOnClose(TcpSocket socket);

// The client library's text for a failed connect says that no local port
// was free (it ends in the system's error number for it).
bool saysNoFreeLocalPort(const std::string& text);

#endif  // ZELKOR_PLATFORM_TCP_SOCKET_H_
