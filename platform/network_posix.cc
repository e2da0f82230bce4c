#include "platform/network.h"

#include <netdb.h>
#include <netinet/in.h>

#include <cstdint>

std::optional<unsigned> tcpServicePort(const std::string& name) {
  const servent* service = getservbyname(name.c_str(), "tcp");
  if (service == nullptr) return std::nullopt;
  return ntohs(static_cast<uint16_t>(service->s_port));
}

bool localhostMeansSocket() { return true; }
