// The run-wide state of the webmap work and the two statement operations the
// preparation and the upload are written over. A statement that fails is
// reported and tallied, and the run goes on; a server that cannot be reached
// at all ends the webmap work at once (ServerUnreachable).
#ifndef ZELKOR_WEBMAP_WEBMAP_RUN_H_
#define ZELKOR_WEBMAP_WEBMAP_RUN_H_

#include <ostream>
#include <stdexcept>
#include <string>
#include <utility>

#include "webmap/statement_runner.h"

// Thrown when no connection can be opened: the server is unreachable or
// refuses the login. Not thrown for a database that cannot be selected,
// which counts as a failure of the statement at hand.
class ServerUnreachable : public std::runtime_error {
 public:
  ServerUnreachable(const std::string& host, const StatementResult& result);
  const std::string& host() const { return host_; }
  const std::string& error() const { return error_; }
  // The connect found no free local port (TCP).
  bool noFreeLocalPort() const { return noFreeLocalPort_; }

 private:
  std::string host_;
  std::string error_;
  bool noFreeLocalPort_;
};

// Owned by the driver: where to connect, where messages go, and the
// statements that failed.
class WebmapRun {
 public:
  WebmapRun(WebmapConnectionValues connectTo, std::ostream& messages)
      : values_(std::move(connectTo)), out_(&messages) {}

  const WebmapConnectionValues& values() const { return values_; }
  std::ostream& out() { return *out_; }
  int failedStatements() const { return failedStatements_; }
  // The server's error for the first failure that caused the others, then
  // the statement: "<error> (in: <statement>)".
  const std::string& firstFailure() const { return firstFailure_; }

  // Sends one statement; throws ServerUnreachable when no connection can be
  // opened.
  StatementResult send(Selects selects, Returns returns,
                       const std::string& statement);
  // Tallies a failed statement.
  void recordFailure(const std::string& statement,
                     const StatementResult& result);
  // Keeps why CREATE DATABASE failed (for another reason than an existing
  // database) without tallying it: an account may lack the right to create
  // a database that exists. Should the database then prove to be missing,
  // this is the cause the first failure names.
  void noteCreateFailure(const std::string& statement,
                         const StatementResult& result);

 private:
  WebmapConnectionValues values_;
  std::ostream* out_;
  int failedStatements_ = 0;
  std::string firstFailure_;
  std::string createFailure_;
};

constexpr char kStatementFailed[] = "Error!";

// What runWebmapStatement asks of a statement besides being accepted.
enum class MustMatch { kNothing, kARow };

// Runs a statement that yields no rows (CREATE TABLE, INSERT, UPDATE,
// DELETE) on a connection that selects the webmap database. Returns "1", or
// kStatementFailed after printing "Info:   Error updating!" and tallying the
// failure; with MustMatch::kARow a statement that matched no row has failed
// too.
std::string runWebmapStatement(WebmapRun& run, const std::string& statement,
                               MustMatch mustMatch = MustMatch::kNothing);

// Runs a SELECT on a connection that selects the webmap database and returns
// the text of the first column of its last row ("" when it has no row). On
// failure prints "Info:   Found webmap database. Updating..." and returns
// kStatementFailed. A missing table is part of the validity test and is not
// tallied; any other failure is.
std::string queryWebmapCount(WebmapRun& run, const std::string& statement);

#endif  // ZELKOR_WEBMAP_WEBMAP_RUN_H_
