// What the MySQL client option files say that the client library itself
// does not act on, or acts on in a way the webmap must not follow. The
// library reads the files (and applies their host, port, socket, TLS and
// other client settings) at every connect; this reads the same files, in
// the same order and groups, for what the library gets wrong or must not
// do here: it ignores a bare "ssl" and the boolean options written without
// a value ("ssl-verify-server-cert"), as users of the mariadb client write
// them, and it would select a default database named in the files.
#ifndef ZELKOR_CONFIG_OPTION_FILES_H_
#define ZELKOR_CONFIG_OPTION_FILES_H_

#include <set>
#include <string>
#include <vector>

// The tool's own group, read after [client], [client-server] and
// [client-mariadb], so that its settings go before theirs.
constexpr char kOptionGroup[] = "zelkor-generator";

struct ClientOptionSettings {
  // Use TLS: "ssl" (or "ssl=1", "enable-ssl"; a later "skip-ssl" or
  // "ssl=0" undoes it), a true ssl-enforce or ssl-verify-server-cert, or
  // any of ssl-ca, ssl-capath, ssl-cert, ssl-key, ssl-cipher.
  bool tls = false;
  // ssl-verify-server-cert: check the server's certificate and name.
  bool verifyServerCert = false;
  // ssl-ca or ssl-capath: where the certificates to trust are.
  bool trustNamed = false;
  // A "database" setting, which the library would select on every
  // connection that names none.
  bool namesDatabase = false;
  // The names of all settings in the groups read ("ssl-ca", "socket"...),
  // written with '-' and without a "loose-" in front.
  std::set<std::string> names;
};

// Whether the client library must read the files for a connect: not when
// every setting they hold is decided without them. The host, user,
// password and database always come from config.txt, the socket from the
// connect when it names one (tcp: none is used), the port likewise, and
// ssl, ssl-enforce and ssl-verify-server-cert from the settings above.
// Reading them costs a few file look-ups per connection.
bool libraryMustReadOptionFiles(const ClientOptionSettings& settings, bool tcp,
                                bool socketGiven, bool portGiven);

// The files the client library reads on Linux, in its order: /etc/my.cnf,
// /etc/mysql/my.cnf, my.cnf in $MARIADB_HOME (or else $MYSQL_HOME), then
// ~/.my.cnf.
std::vector<std::string> clientOptionFiles();

// Reads the files (missing ones are skipped) with their !include and
// !includedir lines, as the library does: an included folder contributes
// its my.cnf.
ClientOptionSettings readClientOptionSettings(
    const std::vector<std::string>& files);

// The settings of clientOptionFiles(), read once per process.
const ClientOptionSettings& clientOptionSettings();

#endif  // ZELKOR_CONFIG_OPTION_FILES_H_
