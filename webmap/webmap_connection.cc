#include "webmap/webmap_connection.h"

#include <mysql++/mysql++.h>

namespace {

// Server errors for a database that does not exist, may not be used or
// cannot be named so: with the name given at connect time they come back as a
// failed connect, but they are a failed selection, not an unreachable
// server.
constexpr int kUnknownDatabase = 1049;
constexpr int kDatabaseAccessDenied = 1044;
constexpr int kWrongDatabaseName = 1102;
constexpr int kNameTooLong = 1059;
constexpr int kNoSuchTable = 1146;

// A server that accepts connections but does not answer must not hold a
// run forever. Reads may wait longer than connects: a statement can wait for
// a row lock that a web page holds (InnoDB gives up after 50 s by default).
constexpr unsigned kConnectTimeoutSeconds = 10;
constexpr unsigned kReadWriteTimeoutSeconds = 300;

// Opens conn for values, selecting database (none when empty) in the
// handshake, which saves a round trip per statement.
void openConnection(mysqlpp::Connection& conn,
                    const WebmapConnectionValues& values,
                    const std::string& database) {
  conn.set_option(new mysqlpp::ConnectTimeoutOption(kConnectTimeoutSeconds));
  conn.set_option(new mysqlpp::ReadTimeoutOption(kReadWriteTimeoutSeconds));
  conn.set_option(new mysqlpp::WriteTimeoutOption(kReadWriteTimeoutSeconds));
  try {
    conn.connect(database.empty() ? nullptr : database.c_str(),
                 values.host.c_str(), values.user.c_str(),
                 values.password.c_str());
  } catch (const mysqlpp::ConnectionFailed& e) {
    const int error = e.errnum();
    if (error == kUnknownDatabase || error == kDatabaseAccessDenied ||
        error == kWrongDatabaseName || error == kNameTooLong) {
      throw mysqlpp::BadQuery(e.what(), e.errnum());
    }
    throw ServerUnreachable(values.host, e.what());
  }
}

// The server's error number, 0 for the library's own failures.
int serverErrorNumber(const mysqlpp::Exception& error) {
  const auto* bad = dynamic_cast<const mysqlpp::BadQuery*>(&error);
  return bad != nullptr ? bad->errnum() : 0;
}

}  // namespace

ServerUnreachable::ServerUnreachable(const std::string& host,
                                     const std::string& error)
    : std::runtime_error("cannot connect to " + host + ": " + error),
      host_(host),
      error_(error) {}

void WebmapRun::recordFailure(const std::string& statement,
                              const std::string& error) {
  if (failedStatements++ == 0) {
    firstFailure = error + " (in: " + statement + ")";
  }
}

void executeOn(const WebmapConnectionValues& values,
               const std::string& database, const std::string& statement) {
  mysqlpp::Connection conn(true);
  openConnection(conn, values, database);
  conn.query().execute(statement);
}

std::string runWebmapStatement(WebmapRun& run, const std::string& statement) {
  try {
    executeOn(run.values, run.values.databaseName, statement);
    return "1";
  } catch (const mysqlpp::Exception& e) {
    // BadQuery, BadConversion and the library's other failures alike.
    *run.out << "Info:   Error updating!\n";
    run.recordFailure(statement, e.what());
    return kStatementFailed;
  }
}

std::string queryWebmapCount(WebmapRun& run, const std::string& statement) {
  try {
    mysqlpp::Connection conn(true);
    openConnection(conn, run.values, run.values.databaseName);
    const mysqlpp::StoreQueryResult result = conn.query(statement).store();
    std::string last;
    for (const mysqlpp::Row& row : result) {
      last.assign(row[0].data(), row[0].length());
    }
    return last;
  } catch (const mysqlpp::BadConversion& e) {
    run.recordFailure(statement, e.what());
    return kStatementFailed;
  } catch (const mysqlpp::Exception& e) {
    *run.out << "Info:   Found webmap database. Updating...\n";
    if (serverErrorNumber(e) != kNoSuchTable) {
      run.recordFailure(statement, e.what());
    }
    return kStatementFailed;
  }
}
