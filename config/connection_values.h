// How both programs reach the webmap: the connection values from
// config.txt, and why a connect can fail, as far as a run can act on it.
#ifndef ZELKOR_CONFIG_CONNECTION_VALUES_H_
#define ZELKOR_CONFIG_CONNECTION_VALUES_H_

#include <string>

#include "config/configuration.h"

struct WebmapConnectionValues {
  std::string host;
  std::string user;
  std::string password;  // empty: no password
  std::string databaseName;
};

// The connection values of a configuration.
WebmapConnectionValues connectionValues(const ToolConfiguration& config);

// Why no connection could be opened, as far as a run can act on it.
enum class ConnectFailure {
  kNone,
  // A wrong host or port, a refused login, an unreadable host word: trying
  // again changes nothing.
  kFinal,
  // Refused, lost during the handshake, shutting down: the server is away,
  // or restarting. At a run's first connect, a wrong host or port looks so.
  kServerAway,
  // Too many connections on the server, or the account's limit of
  // simultaneous connections reached: a moment later there is room.
  kServerBusy,
  // The account's connections per hour are used up.
  kHourlyLimit,
  // No local port was free for the connection (TCP).
  kNoFreeLocalPort,
  // The TLS handshake failed: a certificate, or a server without TLS.
  kTlsStep,
  // A login refused over TCP without TLS: the server may require TLS.
  kRefusedWithoutTls,
};

#endif  // ZELKOR_CONFIG_CONNECTION_VALUES_H_
