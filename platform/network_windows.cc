#include <winsock2.h>

#include <cstdint>

#include "platform/network.h"

std::optional<unsigned> tcpServicePort(const std::string& name) {
  // Windows' network functions answer only once the process has started
  // them; the client library starts them again for itself.
  static const bool started = [] {
    WSADATA data;
    return WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }();
  if (!started) return std::nullopt;
  const servent* service = getservbyname(name.c_str(), "tcp");
  if (service == nullptr) return std::nullopt;
  return ntohs(static_cast<uint16_t>(service->s_port));
}

bool localhostMeansSocket() { return false; }
