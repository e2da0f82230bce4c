// The host word of config.txt: where it points, read as the tool has
// always read it. A socket path ("/run/mysqld/mysqld.sock"), a name or
// address with an optional port ("db.example.org", "127.0.0.1:3307"), or an
// IPv6 address, bare ("::1") or in brackets with an optional port ("[::1]",
// "[::1]:3307"). MySQL++ would read the word itself otherwise, and refuses
// every IPv6 address.
#ifndef ZELKOR_WEBMAP_HOST_WORD_H_
#define ZELKOR_WEBMAP_HOST_WORD_H_

#include <string>

#include "base/outcome.h"
#include "webmap/connect_problem.h"

struct ServerAddress {
  std::string host;    // empty for the default (the local server)
  std::string socket;  // a socket path, or empty
  unsigned port = 0;   // 0: the client library's default
};

// Reads a port as a number from 1 to 65535 or a TCP service name ("mysql");
// false when text is neither.
bool readPort(const std::string& text, unsigned& port);

// Fails with what cannot be read in the word.
Outcome<ServerAddress, HostWordFault> readHostWord(const std::string& word);

// The port in the environment variable name, or 0 when it is not set or not
// a port.
unsigned portFromEnvironment(const char* name);

// Whether the address reaches the server over TCP: on Linux "localhost" and
// a socket path mean the local socket; on Windows only a socket path does
// not go over TCP.
bool isTcp(const ServerAddress& address);

#endif  // ZELKOR_WEBMAP_HOST_WORD_H_
