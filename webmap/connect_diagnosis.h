// What a run can find out about a connect that failed, beyond the client
// library's error: the address it tried and where that came from, a TLS
// file setting that names nothing usable, the server's certificate, and the
// limit an account ran into. Facts only: the stops make the words.
#ifndef ZELKOR_WEBMAP_CONNECT_DIAGNOSIS_H_
#define ZELKOR_WEBMAP_CONNECT_DIAGNOSIS_H_

#include <optional>
#include <string>

#include "webmap/connect_problem.h"
#include "config/option_files.h"
#include "webmap/host_word.h"

// Where a connect to address goes, decided once for the connect and for
// the words of one that failed, as every MySQL client decides it: the port
// or socket of config.txt's host word, else the option files' (as the
// library takes them), else MYSQL_TCP_PORT or MYSQL_UNIX_PORT, else the
// client library's default; and where the port or socket came from.
ConnectTarget connectTarget(const ServerAddress& address,
                            const ClientOptionSettings& files);

// The first TLS file setting (ssl-ca, ssl-capath, ssl-cert, ssl-key) that
// names a file the library cannot use, or nothing.
std::optional<TlsFileFault> faultyTlsFile(const ClientOptionSettings& files);

// The number in a server's "(current value: N)", or 0.
long limitNamed(const std::string& error);

// Adds what can be found out to problem, whose failure, error and host are
// set: over TCP this may open one connection of its own to the server
// (never logging in).
void diagnoseConnectFailure(ConnectProblem& problem, const ConnectTarget& tried,
                            const ClientOptionSettings& files);

#endif  // ZELKOR_WEBMAP_CONNECT_DIAGNOSIS_H_
