#include "webmap/connect_diagnosis.h"

#include <errmsg.h>
#include <mariadb_version.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/file_facts.h"
#include "platform/server_tls_look.h"

namespace {

// The start of a PEM certificate, and the end of the first line of a PEM
// private key of any kind.
constexpr char kPemCertificate[] = "-----BEGIN CERTIFICATE-----";
constexpr char kPemKeyEnd[] = "PRIVATE KEY-----";
// More than a certificate file of a few hundred authorities.
constexpr std::streamsize kMostRead = 4 << 20;

std::optional<TlsFileFault::Kind> fileFault(const std::string& path,
                                            const std::string& setting) {
  const PathKind kind = pathKind(path);
  if (kind == PathKind::kMissing) return TlsFileFault::Kind::kMissing;
  if (!mayRead(path)) return TlsFileFault::Kind::kUnreadable;
  if (setting == "ssl-capath") {
    return kind == PathKind::kFolder
               ? std::nullopt
               : std::optional<TlsFileFault::Kind>(TlsFileFault::Kind::kMissing);
  }
  if (kind != PathKind::kFile) return TlsFileFault::Kind::kNoCertificate;
  std::ifstream in(systemPath(path), std::ios::binary);
  if (!in) return TlsFileFault::Kind::kUnreadable;
  std::string text(static_cast<size_t>(kMostRead), '\0');
  in.read(&text[0], kMostRead);
  text.resize(static_cast<size_t>(in.gcount()));
  if (setting == "ssl-key") {
    return text.find(kPemKeyEnd) != std::string::npos
               ? std::nullopt
               : std::optional<TlsFileFault::Kind>(TlsFileFault::Kind::kNoKey);
  }
  return text.find(kPemCertificate) != std::string::npos
             ? std::nullopt
             : std::optional<TlsFileFault::Kind>(
                   TlsFileFault::Kind::kNoCertificate);
}

}  // namespace

ConnectTarget connectTarget(const ServerAddress& address,
                            const ClientOptionSettings& files) {
  // As every MySQL client decides it: config.txt's host word (the command
  // line of other clients), then the option files, then MYSQL_TCP_PORT or
  // MYSQL_UNIX_PORT, then the client library's default.
  ConnectTarget target;
  target.tcp = isTcp(address);
  if (target.tcp) {
    // No host is "localhost" to the connect.
    target.host = address.host.empty() ? "localhost" : address.host;
    target.port = address.port;
    if (target.port != 0) {
      target.source = AddressSource::kConfigurationFile;
      return target;
    }
    if (const OptionValue* port = files.value("port")) {
      // The library reads the number as atoi does; 0 is no port.
      target.port = static_cast<unsigned>(std::atoi(port->value.c_str()));
      target.source = AddressSource::kOptionFile;
      target.option = port->source;
    }
    if (target.port == 0 &&
        (target.port = portFromEnvironment("MYSQL_TCP_PORT")) != 0) {
      target.source = AddressSource::kEnvironment;
      target.variable = "MYSQL_TCP_PORT";
    }
    if (target.port == 0) {
      target.port = MARIADB_PORT;
      target.source = AddressSource::kLibraryDefault;
    }
    return target;
  }
  target.socket = address.socket;
  if (!target.socket.empty()) {
    target.source = AddressSource::kConfigurationFile;
  } else if (const OptionValue* socket = files.value("socket")) {
    target.socket = socket->value;
    target.source = AddressSource::kOptionFile;
    target.option = socket->source;
  } else if (const char* variable = std::getenv("MYSQL_UNIX_PORT");
             variable != nullptr && *variable != '\0') {
    target.socket = variable;
    target.source = AddressSource::kEnvironment;
    target.variable = "MYSQL_UNIX_PORT";
  } else {
    target.socket = MARIADB_UNIX_ADDR;
    target.source = AddressSource::kLibraryDefault;
  }
  return target;
}

std::optional<TlsFileFault> faultyTlsFile(const ClientOptionSettings& files) {
  for (const char* setting : {"ssl-ca", "ssl-capath", "ssl-cert", "ssl-key"}) {
    const OptionValue* value = files.value(setting);
    if (value == nullptr) continue;
    if (const auto kind = fileFault(value->value, setting)) {
      return TlsFileFault{setting, *value, *kind};
    }
  }
  return std::nullopt;
}

long limitNamed(const std::string& error) {
  static const std::string kCurrentValue = "current value: ";
  const size_t at = error.find(kCurrentValue);
  if (at == std::string::npos) return 0;
  return std::strtol(error.c_str() + at + kCurrentValue.size(), nullptr, 10);
}

void diagnoseConnectFailure(ConnectProblem& problem, const ConnectTarget& tried,
                            const ClientOptionSettings& files) {
  switch (problem.failure) {
    case ConnectFailure::kServerAway:
    case ConnectFailure::kFinal:
      // Nothing answered at the address (as opposed to a name that does not
      // resolve, or a server that refused the login).
      if (problem.errorNumber == CR_CONNECTION_ERROR ||
          problem.errorNumber == CR_CONN_HOST_ERROR) {
        problem.tried = tried;
      }
      // The connection was taken, and lost before a greeting: a server that
      // waits for its client to speak first (HTTP) or speaks another
      // protocol.
      if (tried.tcp && problem.errorNumber == CR_SERVER_LOST &&
          problem.error.find("initial communication packet") !=
              std::string::npos) {
        problem.tried = tried;
        problem.noGreeting = true;
      }
      break;
    case ConnectFailure::kHourlyLimit:
      problem.hourlyLimit = limitNamed(problem.error);
      break;
    case ConnectFailure::kTlsStep: {
      problem.tlsFile = faultyTlsFile(files);
      if (problem.tlsFile || !tried.tcp) break;
      const OptionValue* caFile = files.value("ssl-ca");
      const OptionValue* caPath = files.value("ssl-capath");
      if (caFile != nullptr || caPath != nullptr) {
        problem.trustSetting = caFile != nullptr ? "ssl-ca" : "ssl-capath";
        problem.trust = caFile != nullptr ? *caFile : *caPath;
      }
      const ServerTlsLook look = lookAtServerTls(
          tried.host, tried.port, files.verifyServerCert,
          caFile != nullptr ? caFile->value : "",
          caPath != nullptr ? caPath->value : "");
      if (look.greeted) problem.serverOffersTls = look.offersTls;
      problem.certificate = look.certificate;
      break;
    }
    default:
      break;
  }
}
