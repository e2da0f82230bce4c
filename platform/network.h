// What each system's network naming gives (network_posix.cc,
// network_windows.cc).
#ifndef ZELKOR_PLATFORM_NETWORK_H_
#define ZELKOR_PLATFORM_NETWORK_H_

#include <optional>
#include <string>

// The TCP port of a service named in the system's services list ("mysql"
// is 3306), or nothing.
std::optional<unsigned> tcpServicePort(const std::string& name);

// The client library reaches a server named "localhost" (or not named)
// through a local socket: on Linux. On Windows it goes over TCP to the
// loopback address.
bool localhostMeansSocket();

#endif  // ZELKOR_PLATFORM_NETWORK_H_
