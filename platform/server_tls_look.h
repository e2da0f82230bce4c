// A second look at a server whose TLS step failed: the tool opens a plain
// TCP connection of its own, reads the server's greeting (does it offer
// TLS?) and, when asked, takes the TLS step far enough to read the server's
// certificate, which it checks against the trusted authorities and the
// host name itself. It never logs in; the server counts the connection as
// one given up in its handshake, like the failed connect before it. Each
// system looks its own way (server_tls_look_posix.cc: OpenSSL;
// server_tls_look_windows.cc: nothing to look with).
#ifndef ZELKOR_PLATFORM_SERVER_TLS_LOOK_H_
#define ZELKOR_PLATFORM_SERVER_TLS_LOOK_H_

#include <optional>
#include <string>
#include <vector>

// The server's certificate as a second look, after a failed check, found
// it.
struct ServerCertificate {
  // The names it is made out for: its subjectAltName entries (DNS names
  // and addresses), or its common name when it has none.
  std::vector<std::string> names;
  // Signed by an authority that ssl-ca or ssl-capath names.
  bool trusted = false;
  // One of its names is the host that config.txt names.
  bool nameMatches = false;
};

struct ServerTlsLook {
  // The server answered with a greeting.
  bool greeted = false;
  // Its greeting offers TLS.
  bool offersTls = false;
  // Read when asked for and offered.
  std::optional<ServerCertificate> certificate;
};

// host and port as the connect used them; caFile and caPath (either may be
// empty) as ssl-ca and ssl-capath name them. Gives up after a few seconds.
ServerTlsLook lookAtServerTls(const std::string& host, unsigned port,
                              bool readCertificate, const std::string& caFile,
                              const std::string& caPath);

#endif  // ZELKOR_PLATFORM_SERVER_TLS_LOOK_H_
