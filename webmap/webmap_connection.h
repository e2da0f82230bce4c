// Talking to the MySQL server: every statement runs on a connection of its
// own, opened with the webmap connection values and closed after it. A
// statement that fails is reported and tallied, and the run goes on; a
// server that cannot be reached at all ends the webmap work at once.
#ifndef ZELKOR_WEBMAP_WEBMAP_CONNECTION_H_
#define ZELKOR_WEBMAP_WEBMAP_CONNECTION_H_

#include <ostream>
#include <stdexcept>
#include <string>
#include <utility>

struct WebmapConnectionValues {
  std::string host;
  std::string user;
  std::string password;  // empty: no password
  std::string databaseName;
};

// Thrown when no connection can be opened: the server is unreachable or
// refuses the login. Not thrown for a database that cannot be selected,
// which counts as a failure of the statement at hand.
class ServerUnreachable : public std::runtime_error {
 public:
  ServerUnreachable(const std::string& host, const std::string& error);
  const std::string& host() const { return host_; }
  const std::string& error() const { return error_; }

 private:
  std::string host_;
  std::string error_;
};

// The run-wide state of the webmap work, owned by the driver: where to
// connect, where messages go, and the statements that failed.
struct WebmapRun {
  WebmapRun(WebmapConnectionValues connectTo, std::ostream& messages)
      : values(std::move(connectTo)), out(&messages) {}

  WebmapConnectionValues values;
  std::ostream* out;
  int failedStatements = 0;
  std::string firstFailure;  // the server's error text, then the statement

  // Tallies a failed statement; the first one's error is kept.
  void recordFailure(const std::string& statement, const std::string& error);
};

constexpr char kStatementFailed[] = "Error!";

// Runs a statement that yields no rows (CREATE TABLE, INSERT, UPDATE) on a
// connection that selects the webmap database. Returns "1", or
// kStatementFailed after printing "Info:   Error updating!" and tallying the
// failure.
std::string runWebmapStatement(WebmapRun& run, const std::string& statement);

// Runs a SELECT on a connection that selects the webmap database and returns
// the text
// of the first column of its last row ("" when it has no row). On failure
// returns kStatementFailed; a server error prints "Info:   Found webmap
// database. Updating...". A missing table is part of the validity test and
// is not tallied; any other failure is.
std::string queryWebmapCount(WebmapRun& run, const std::string& statement);

// Runs a statement on a connection that selects database and lets the
// library's exceptions through; throws ServerUnreachable as above.
void executeOn(const WebmapConnectionValues& values,
               const std::string& database, const std::string& statement);

#endif  // ZELKOR_WEBMAP_WEBMAP_CONNECTION_H_
