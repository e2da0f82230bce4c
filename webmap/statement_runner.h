// The one place that talks to the MySQL client library: every statement gets
// a connection of its own, opened with the webmap connection values and
// closed after it, and how it went comes back as a value. No other file
// includes the database library's headers. Connections read the client
// option files (groups [client], [client-server], [client-mariadb] and
// [zelkor-generator]) for TLS and other client settings; config.txt's host,
// user, password and database, and the MYSQL_UNIX_PORT and MYSQL_TCP_PORT
// variables, go before the files.
#ifndef ZELKOR_WEBMAP_STATEMENT_RUNNER_H_
#define ZELKOR_WEBMAP_STATEMENT_RUNNER_H_

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "config/connection_values.h"
#include "webmap/connect_problem.h"

// Which database the statement's connection selects: the webmap database,
// or none (CREATE DATABASE and DROP DATABASE name it in the statement, so an
// account with rights on the webmap database only can send them).
enum class Selects { kWebmapDatabase, kNoDatabase };

// Whether the statement returns rows to be read back (a SELECT) or not
// (CREATE, DROP, INSERT, UPDATE, DELETE).
enum class Returns { kRows, kNoRows };

enum class StatementOutcome {
  kSucceeded,
  // The server refused the statement, or the database to select (unknown,
  // forbidden or an impossible name).
  kFailed,
  // No connection could be opened: the server is not there, does not answer,
  // or refuses the login; or an option file was refused, and no connection
  // was tried.
  kServerUnreachable,
};

using Rows = std::vector<std::vector<std::string>>;

struct StatementResult {
  StatementOutcome outcome = StatementOutcome::kSucceeded;
  unsigned errorNumber = 0;  // the server's or the client library's
  std::string error;         // its text
  uint64_t matchedRows = 0;  // rows an INSERT, UPDATE or DELETE matched
  // The connection went away with the statement on it: the server may have
  // run it or not.
  bool connectionLost = false;
  // Set when outcome is kServerUnreachable: why, and what the run found
  // out about it.
  ConnectProblem problem;
  Rows rows;  // a NULL reads as ""

  bool succeeded() const { return outcome == StatementOutcome::kSucceeded; }
};

// Server error numbers the webmap operations tell apart.
constexpr unsigned kErrorDatabaseExists = 1007;
constexpr unsigned kErrorDropMissingDatabase = 1008;
constexpr unsigned kErrorUnknownDatabase = 1049;
constexpr unsigned kErrorNoSuchTable = 1146;
constexpr unsigned kErrorParse = 1064;
constexpr unsigned kErrorDeadlock = 1213;

// Whether a server error says that the database to select is not there or
// cannot be named so (unknown, a wrong name, a name too long).
bool namesNoDatabase(unsigned error);

// Why a connect failed with the client library's error number and text.
// tcp: the connection went over TCP; tls: TLS was asked for.
ConnectFailure classifyConnectFailure(unsigned error, const std::string& text,
                                      bool tcp, bool tls);

StatementResult runStatement(const WebmapConnectionValues& values,
                             Selects selects, Returns returns,
                             const std::string& statement);

// How a batch of statements went: the answers the server gave, in order.
struct BatchResult {
  enum class End {
    kAll,               // every statement answered
    kStoppedAtFailure,  // the last answer is a failure; the server ran none
                        // of the statements after it
    kLost,              // the connection went away: the statements after the
                        // answered ones may have run or not
    kUnreachable,       // no connection could be opened: the one answer
                        // says why
  } end = End::kAll;
  std::vector<StatementResult> answered;
};

// One connection that carries a whole run (single-connection in the option
// files): opened at its first statement, and again at the next statement
// after one that lost it; it selects the webmap database when a statement
// needs it.
class RunConnection {
 public:
  explicit RunConnection(WebmapConnectionValues values);
  ~RunConnection();
  RunConnection(const RunConnection&) = delete;
  RunConnection& operator=(const RunConnection&) = delete;

  // As runStatement, on this connection.
  StatementResult run(Selects selects, Returns returns,
                      const std::string& statement);
  // Statements that yield no rows, on the webmap database, in one round
  // trip.
  BatchResult runBatch(const std::vector<std::string>& statements);
  void close();

 private:
  struct State;
  std::optional<StatementResult> ensureOpen();
  bool selectWebmap(StatementResult& result);
  std::unique_ptr<State> state_;
};

#endif  // ZELKOR_WEBMAP_STATEMENT_RUNNER_H_
