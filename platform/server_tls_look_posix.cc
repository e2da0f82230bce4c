#include "platform/server_tls_look.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <vector>

#include "base/unique_fd.h"

namespace {

constexpr int kTimeoutMilliseconds = 5000;
// The greeting's protocol version, and the capability that offers TLS.
constexpr unsigned char kProtocolVersion = 10;
constexpr uint32_t kClientSsl = 0x800;
// What the TLS request says of the client: protocol 4.1, secure
// authentication, TLS.
constexpr uint32_t kRequestCapabilities = 0x200 | 0x8000 | kClientSsl;
constexpr unsigned char kUtf8Charset = 33;

int connectTo(const std::string& host, unsigned port) {
  addrinfo hints{};
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints,
                  &found) != 0) {
    return -1;
  }
  int fd = -1;
  for (addrinfo* a = found; a != nullptr && fd < 0; a = a->ai_next) {
    fd = socket(a->ai_family, a->ai_socktype, a->ai_protocol);
    if (fd < 0) continue;
    timeval timeout{kTimeoutMilliseconds / 1000, 0};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
    if (connect(fd, a->ai_addr, a->ai_addrlen) != 0) {
      close(fd);
      fd = -1;
    }
  }
  freeaddrinfo(found);
  return fd;
}

bool readAll(int fd, unsigned char* into, size_t size) {
  while (size > 0) {
    const ssize_t got = recv(fd, into, size, 0);
    if (got <= 0) return false;
    into += got;
    size -= static_cast<size_t>(got);
  }
  return true;
}

// The greeting packet's payload, or empty.
std::vector<unsigned char> readGreeting(int fd) {
  unsigned char header[4];
  if (!readAll(fd, header, sizeof header)) return {};
  const size_t length = header[0] | (header[1] << 8) | (header[2] << 16);
  std::vector<unsigned char> payload(length);
  if (length == 0 || !readAll(fd, payload.data(), length)) return {};
  return payload;
}

// The lower capability flags of a greeting: after the protocol version,
// the server's version text and its end, the connection id (4 bytes), the
// first part of the scramble (8) and a filler byte.
std::optional<uint32_t> capabilities(const std::vector<unsigned char>& greeting) {
  if (greeting.empty() || greeting[0] != kProtocolVersion) return std::nullopt;
  size_t at = 1;
  while (at < greeting.size() && greeting[at] != 0) ++at;
  at += 1 + 4 + 8 + 1;
  if (at + 2 > greeting.size()) return std::nullopt;
  return greeting[at] | (greeting[at + 1] << 8);
}

bool sendTlsRequest(int fd) {
  unsigned char packet[4 + 32] = {32, 0, 0, 1};
  const uint32_t flags = kRequestCapabilities;
  for (int i = 0; i < 4; ++i) packet[4 + i] = (flags >> (8 * i)) & 0xFF;
  packet[8 + 3] = 1;  // the largest packet: 16 MiB
  packet[12] = kUtf8Charset;
  return send(fd, packet, sizeof packet, MSG_NOSIGNAL) ==
         static_cast<ssize_t>(sizeof packet);
}

std::string addressText(const ASN1_OCTET_STRING* address) {
  char text[INET6_ADDRSTRLEN] = "";
  const int family = address->length == 4 ? AF_INET : AF_INET6;
  if (address->length != 4 && address->length != 16) return "";
  inet_ntop(family, address->data, text, sizeof text);
  return text;
}

std::vector<std::string> certificateNames(X509* certificate) {
  std::vector<std::string> names;
  auto* alternatives = static_cast<GENERAL_NAMES*>(
      X509_get_ext_d2i(certificate, NID_subject_alt_name, nullptr, nullptr));
  if (alternatives != nullptr) {
    for (int i = 0; i < sk_GENERAL_NAME_num(alternatives); ++i) {
      const GENERAL_NAME* name = sk_GENERAL_NAME_value(alternatives, i);
      if (name->type == GEN_DNS) {
        const ASN1_IA5STRING* dns = name->d.dNSName;
        names.emplace_back(reinterpret_cast<const char*>(dns->data),
                           static_cast<size_t>(dns->length));
      } else if (name->type == GEN_IPADD) {
        const std::string address = addressText(name->d.iPAddress);
        if (!address.empty()) names.push_back(address);
      }
    }
    GENERAL_NAMES_free(alternatives);
  }
  if (names.empty()) {
    char common[256] = "";
    if (X509_NAME_get_text_by_NID(X509_get_subject_name(certificate),
                                  NID_commonName, common, sizeof common) > 0) {
      names.push_back(common);
    }
  }
  return names;
}

bool signedByTrusted(X509* certificate, STACK_OF(X509) * chain,
                     const std::string& caFile, const std::string& caPath) {
  if (caFile.empty() && caPath.empty()) return false;
  std::unique_ptr<X509_STORE, decltype(&X509_STORE_free)> store(
      X509_STORE_new(), X509_STORE_free);
  if (!store ||
      X509_STORE_load_locations(store.get(),
                                caFile.empty() ? nullptr : caFile.c_str(),
                                caPath.empty() ? nullptr : caPath.c_str()) != 1) {
    return false;
  }
  std::unique_ptr<X509_STORE_CTX, decltype(&X509_STORE_CTX_free)> check(
      X509_STORE_CTX_new(), X509_STORE_CTX_free);
  if (!check ||
      X509_STORE_CTX_init(check.get(), store.get(), certificate, chain) != 1) {
    return false;
  }
  return X509_verify_cert(check.get()) == 1;
}

std::optional<ServerCertificate> readCertificate(int fd, const std::string& host,
                                                 const std::string& caFile,
                                                 const std::string& caPath) {
  std::unique_ptr<SSL_CTX, decltype(&SSL_CTX_free)> context(
      SSL_CTX_new(TLS_client_method()), SSL_CTX_free);
  if (!context) return std::nullopt;
  // Nothing is checked in the handshake: the certificate is checked below,
  // so that the words can say what is wrong with it.
  SSL_CTX_set_verify(context.get(), SSL_VERIFY_NONE, nullptr);
  std::unique_ptr<SSL, decltype(&SSL_free)> tls(SSL_new(context.get()),
                                                SSL_free);
  if (!tls || SSL_set_fd(tls.get(), fd) != 1) return std::nullopt;
  in6_addr address{};
  const bool isAddress = inet_pton(AF_INET, host.c_str(), &address) == 1 ||
                         inet_pton(AF_INET6, host.c_str(), &address) == 1;
  if (!isAddress) SSL_set_tlsext_host_name(tls.get(), host.c_str());
  if (SSL_connect(tls.get()) != 1) return std::nullopt;
  X509* certificate = SSL_get_peer_certificate(tls.get());
  if (certificate == nullptr) return std::nullopt;
  ServerCertificate found;
  found.names = certificateNames(certificate);
  found.nameMatches =
      isAddress ? X509_check_ip_asc(certificate, host.c_str(), 0) == 1
                : X509_check_host(certificate, host.c_str(), host.size(), 0,
                                  nullptr) == 1;
  found.trusted = signedByTrusted(certificate, SSL_get_peer_cert_chain(tls.get()),
                                  caFile, caPath);
  X509_free(certificate);
  return found;
}

}  // namespace

ServerTlsLook lookAtServerTls(const std::string& host, unsigned port,
                              bool readCertificateToo, const std::string& caFile,
                              const std::string& caPath) {
  ServerTlsLook look;
  const UniqueFd socket(connectTo(host, port));
  if (socket.get() < 0) return look;
  const std::optional<uint32_t> flags = capabilities(readGreeting(socket.get()));
  if (!flags) return look;
  look.greeted = true;
  look.offersTls = (*flags & kClientSsl) != 0;
  if (readCertificateToo && look.offersTls && sendTlsRequest(socket.get())) {
    look.certificate = readCertificate(socket.get(), host, caFile, caPath);
  }
  return look;
}
