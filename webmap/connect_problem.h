// Why a connect failed, and what a run found out about it: the facts that a
// stop's words are made of.
#ifndef ZELKOR_WEBMAP_CONNECT_PROBLEM_H_
#define ZELKOR_WEBMAP_CONNECT_PROBLEM_H_

#include <optional>
#include <string>
#include <vector>

#include "config/option_files.h"
#include "platform/server_tls_look.h"

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
  // An option file that the client library would not read safely: no
  // connect was tried.
  kOptionFile,
};

// Server errors of a refused login: a wrong user or password (or, on
// MariaDB, a login without TLS that the server requires), and a login
// without TLS that the server refuses as such.
constexpr unsigned kErrorAccessDenied = 1045;
constexpr unsigned kErrorSecureTransportRequired = 4058;

// What cannot be read in config.txt's host word.
struct HostWordFault {
  enum class Kind {
    kIpv6Brackets,  // "[::1" or "[::1]3307"
    kPort,          // "db:", "db:0", "db:65536", "db:no-such-service"
    kUrl,           // "http://db:3306": an address for a browser
  } kind = Kind::kPort;
  // kUrl: the address's host and port, the host word to write instead
  // ("mysql://user@db:3306/webmap" gives "db:3306").
  std::string hostWord;
};

// Where the port or socket that a connect tried came from.
enum class AddressSource {
  kConfigurationFile,  // the host word of config.txt
  kEnvironment,        // MYSQL_TCP_PORT or MYSQL_UNIX_PORT
  kOptionFile,         // a port or socket setting in an option file
  kLibraryDefault,     // none of these: the client library's own
};

// Where a connect goes: the address, and where its port or socket came
// from (connectTarget decides it); kept in a ConnectProblem as the address
// a failed connect tried.
struct ConnectTarget {
  bool tcp = false;
  std::string host;    // over TCP: the name or address
  unsigned port = 0;   // over TCP
  std::string socket;  // otherwise: the socket path
  AddressSource source = AddressSource::kLibraryDefault;
  std::string variable;  // kEnvironment: the variable's name
  OptionSource option;   // kOptionFile: where the setting stands
};

// A TLS file setting (ssl-ca, ssl-capath, ssl-cert, ssl-key) that names
// nothing the client library can use.
struct TlsFileFault {
  std::string setting;  // "ssl-ca"
  OptionValue value;    // the path, and where it was set
  enum class Kind {
    kMissing,         // no such file or folder
    kUnreadable,      // this run may not read it
    kNoCertificate,   // a file that holds no PEM certificate
    kNoKey,           // ssl-key: a file that holds no PEM private key
  } kind = Kind::kMissing;
};

// Everything a run learned about a connect that failed: the facts that
// the stop's words are made of.
struct ConnectProblem {
  ConnectFailure failure = ConnectFailure::kNone;
  std::string host;  // the host word of config.txt
  unsigned errorNumber = 0;
  std::string error;  // the client library's or the server's text
  // kServerAway and kFinal when nothing answered at the address, or when
  // something took the connection over TCP but sent no MySQL greeting.
  std::optional<ConnectTarget> tried;
  // That something there took the connection but did not greet as a MySQL
  // server does: another kind of server's port (a web server's), or a
  // firewall that cuts connections.
  bool noGreeting = false;
  // kOptionFile.
  std::optional<OptionFileFault> optionFile;
  // kFinal: a host word that cannot be read; no connect was tried.
  std::optional<HostWordFault> hostWord;
  // kTlsStep: a TLS file setting at fault, or else the server's certificate
  // (when it was checked), or else whether the server offers TLS at all.
  std::optional<TlsFileFault> tlsFile;
  std::optional<ServerCertificate> certificate;
  // kTlsStep: the setting that names the authorities to trust (ssl-ca, or
  // else ssl-capath), when one does.
  std::string trustSetting;
  std::optional<OptionValue> trust;
  // kTlsStep and kRefusedWithoutTls: whether the server's greeting offers
  // TLS, when a second look could tell.
  std::optional<bool> serverOffersTls;
  // kHourlyLimit: the account's connections an hour, as the server named
  // them (0: not named).
  long hourlyLimit = 0;
};

#endif  // ZELKOR_WEBMAP_CONNECT_PROBLEM_H_
