// A second look at a server whose TLS step failed: the tool opens a plain
// TCP connection of its own, reads the server's greeting (does it offer
// TLS?) and, when asked, takes the TLS step far enough to read the server's
// certificate, which it checks against the trusted authorities and the
// host name itself. It never logs in; the server counts the connection as
// one given up in its handshake, like the failed connect before it.
#ifndef ZELKOR_WEBMAP_SERVER_TLS_LOOK_H_
#define ZELKOR_WEBMAP_SERVER_TLS_LOOK_H_

#include <optional>
#include <string>

#include "webmap/connect_problem.h"

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

#endif  // ZELKOR_WEBMAP_SERVER_TLS_LOOK_H_
