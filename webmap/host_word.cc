#include "webmap/host_word.h"

#include <cstdlib>

#include "platform/network.h"

bool readPort(const std::string& text, unsigned& port) {
  char* end = nullptr;
  const unsigned long number = std::strtoul(text.c_str(), &end, 10);
  if (!text.empty() && *end == '\0' && text[0] != '-' && text[0] != '+') {
    port = static_cast<unsigned>(number);
    return number >= 1 && number <= 65535;
  }
  const std::optional<unsigned> service = tcpServicePort(text);
  if (!service) return false;
  port = *service;
  return true;
}

Outcome<ServerAddress, HostWordFault> readHostWord(const std::string& word) {
  using Read = Outcome<ServerAddress, HostWordFault>;
  ServerAddress address;
  bool hasPort = false;
  std::string port;
  if (!word.empty() && word[0] == '/') {
    address.socket = word;
    return address;
  }
  // A web address copied from a browser or a hosting panel: its scheme
  // would be read as the host and "//..." as the port. Its host and port,
  // after any user and before any path, are the host word to write.
  if (const size_t scheme = word.find("://"); scheme != std::string::npos) {
    std::string rest = word.substr(scheme + 3);
    rest = rest.substr(0, rest.find('/'));
    const size_t at = rest.rfind('@');
    return Read::failed({HostWordFault::Kind::kUrl,
                         at == std::string::npos ? rest : rest.substr(at + 1)});
  }
  if (!word.empty() && word[0] == '[') {
    const size_t close = word.find(']');
    if (close == std::string::npos ||
        (close + 1 < word.size() && word[close + 1] != ':')) {
      return Read::failed({HostWordFault::Kind::kIpv6Brackets, ""});
    }
    address.host = word.substr(1, close - 1);
    hasPort = close + 1 < word.size();
    if (hasPort) port = word.substr(close + 2);
  } else if (word.find(':') != word.rfind(':')) {
    address.host = word;  // a bare IPv6 address: no port
  } else if (const size_t colon = word.find(':'); colon != std::string::npos) {
    address.host = word.substr(0, colon);
    hasPort = true;
    port = word.substr(colon + 1);
  } else {
    address.host = word;
  }
  if (hasPort && (port.empty() || !readPort(port, address.port))) {
    return Read::failed({HostWordFault::Kind::kPort, ""});
  }
  return address;
}

unsigned portFromEnvironment(const char* name) {
  unsigned port = 0;
  const char* text = std::getenv(name);
  if (text == nullptr || !readPort(text, port)) return 0;
  return port;
}

bool isTcp(const ServerAddress& address) {
  return address.socket.empty() &&
         (!localhostMeansSocket() ||
          (!address.host.empty() && address.host != "localhost"));
}
