#include "webmap/statement_runner.h"

#include <errmsg.h>
#include <mysql++/dbdriver.h>
#include <mysql++/mysql++.h>

#include <cstdlib>
#include <memory>
#include <optional>
#include <utility>

#include "config/option_files.h"
#include "platform/process.h"
#include "platform/tcp_socket.h"
#include "webmap/connect_diagnosis.h"
#include "webmap/host_word.h"

namespace {

constexpr unsigned kErrorDatabaseAccessDenied = 1044;
constexpr unsigned kErrorWrongDatabaseName = 1102;
constexpr unsigned kErrorNameTooLong = 1059;

// Server errors a connect can meet.
constexpr unsigned kErrorTooManyConnections = 1040;
constexpr unsigned kErrorServerShutdown = 1053;
constexpr unsigned kErrorTooManyUserConnections = 1203;
constexpr unsigned kErrorUserLimitReached = 1226;
constexpr unsigned kErrorConnectionKilled = 1927;
// ER_USER_LIMIT_REACHED names the resource that ran out; the server's own
// variable names tell the hourly limit from the simultaneous one.
constexpr char kHourlyConnections[] = "max_connections_per_hour";
constexpr char kSimultaneousConnections[] = "max_user_connections";

// A server that accepts connections but does not answer must not hold a
// run forever. Reads may wait longer than connects: a statement can wait for
// a row lock that a web page holds (InnoDB gives up after 50 s by default).
constexpr unsigned kConnectTimeoutSeconds = 10;
constexpr unsigned kReadWriteTimeoutSeconds = 300;

// Errors for a database that does not exist, may not be used or cannot be
// named so: with the name given at connect time they come back as a failed
// connect, but they are a failed selection, not an unreachable server.
bool isFailedSelection(unsigned error) {
  return namesNoDatabase(error) || error == kErrorDatabaseAccessDenied;
}

// TLS without ssl-ca, ssl-capath or ssl-verify-server-cert checks no
// certificate, yet the library has OpenSSL load the system's whole CA
// bundle for every connection: about 20 ms of CPU each, against 1 ms for
// the rest of a TLS connect (a 30 x 30 map: 20.7 s instead of 1.8 s).
// Pointed elsewhere, OpenSSL loads nothing, and nothing is checked, as
// before. No setting of the library does it: an ssl-ca or ssl-capath of its
// own would make the library check the server's certificate, and refuse
// the servers that "ssl" alone reaches.
void skipUnusedCertificateAuthorities(const ClientOptionSettings& files) {
  if (!files.tls || files.trustNamed || files.verifyServerCert) return;
  static const bool skipped = [] {
    setEnvironmentVariable("SSL_CERT_FILE", "/nonexistent/zelkor-generator");
    setEnvironmentVariable("SSL_CERT_DIR", "/nonexistent/zelkor-generator");
    return true;
  }();
  (void)skipped;
}

// A client library option without a MySQL++ class of its own. Options go
// through Connection::set_option, which applies them after the driver has
// made its handle ready for the connect; a handle set up before then is
// made anew.
class ClientLibraryOption : public mysqlpp::Option {
 public:
  ClientLibraryOption(mysql_option option, my_bool value)
      : option_(option), value_(value) {}
  Error set(mysqlpp::DBDriver* driver) override {
    return driver->set_option(option_, &value_) ? err_NONE : err_api_reject;
  }

 private:
  mysql_option option_;
  my_bool value_;
};

// The socket the client library last waited on in this thread.
thread_local TcpSocket tSocketSeen = kNoSocket;

// The client library's wait for its socket, done as the library does it
// (tcp_socket.h), noting the socket: MySQL++ keeps the library's handle, and
// so the socket, to itself, and the library's I/O wait hook is the way it
// names it. A TCP connect waits at least once: the library connects without
// blocking and waits for the connect, then for the server's greeting.
int waitNotingSocket(my_socket socket, my_bool forReading, int timeoutMs) {
  tSocketSeen = static_cast<TcpSocket>(socket);
  return waitForSocket(tSocketSeen, forReading != 0, timeoutMs);
}

// Set through Connection::set_option, so that it applies to the handle the
// connect uses (the driver makes its handle anew before a connect).
class NoteSocketOption : public mysqlpp::Option {
 public:
  Error set(mysqlpp::DBDriver* driver) override {
    int (*const wait)(my_socket, my_bool, int) = waitNotingSocket;
    return driver->set_option(MARIADB_OPT_IO_WAIT,
                              reinterpret_cast<const void*>(wait))
               ? err_NONE
               : err_api_reject;
  }
};

// Opens conn to where target says (connectTarget), selecting the webmap
// database in the handshake when asked to, which saves a round trip per
// statement.
void openConnection(mysqlpp::Connection& conn,
                    const WebmapConnectionValues& values,
                    const ServerAddress& address, const ConnectTarget& target,
                    Selects selects) {
  mysqlpp::DBDriver& driver = *conn.driver();
  const ClientOptionSettings& files = clientOptionSettings();
  conn.set_option(new mysqlpp::ConnectTimeoutOption(kConnectTimeoutSeconds));
  conn.set_option(new mysqlpp::ReadTimeoutOption(kReadWriteTimeoutSeconds));
  conn.set_option(new mysqlpp::WriteTimeoutOption(kReadWriteTimeoutSeconds));
  // An UPDATE that rewrites a row with the values it already holds still
  // counts as matched, so a count of 0 means that no row has its ID.
  conn.set_option(new mysqlpp::FoundRowsOption(true));
  // The library ignores a bare "ssl" in the files, and boolean options
  // written without a value: set as the mariadb client reads them.
  if (files.tls) {
    conn.set_option(new ClientLibraryOption(MYSQL_OPT_SSL_ENFORCE, 1));
  }
  if (files.verifyServerCert) {
    conn.set_option(
        new ClientLibraryOption(MYSQL_OPT_SSL_VERIFY_SERVER_CERT, 1));
  }
  skipUnusedCertificateAuthorities(files);

  // The socket or port decided once (connectTarget) goes to the connect
  // itself, so that the library cannot decide otherwise than the words of a
  // failed connect say.
  const bool tcp = target.tcp;
  const std::string socket = tcp ? "" : target.socket;
  const unsigned port = tcp ? target.port : 0;
  // The option files, read by the library at the connect. What they set
  // overrides the options set here, but not the connect's own arguments.
  if (libraryMustReadOptionFiles(files, tcp, !tcp, tcp)) {
    conn.set_option(new mysqlpp::ReadDefaultGroupOption(kOptionGroup));
  }
  // A host left out would be taken from the files: a socket path goes with
  // "localhost".
  const std::string host = address.host.empty() ? "localhost" : address.host;
  // A connection that selects no database must not select the files'
  // default database either; every account may select information_schema.
  const char* database = nullptr;
  if (selects == Selects::kWebmapDatabase) {
    database = values.databaseName.c_str();
  } else if (files.namesDatabase) {
    database = "information_schema";
  }

  tSocketSeen = kNoSocket;
  if (tcp) conn.set_option(new NoteSocketOption);
  // Straight to the driver, past Connection::connect, which would read the
  // host word its own way.
  if (!driver.connect(host.c_str(), socket.empty() ? nullptr : socket.c_str(),
                      port, database, values.user.c_str(),
                      values.password.c_str())) {
    throw mysqlpp::ConnectionFailed(conn.error(), conn.errnum());
  }
  if (tcp) releasePortOnClose(tSocketSeen);
  // A "reconnect" in the files would let the library send a statement
  // again on a new connection after a lost one: a statement goes out once.
  const my_bool reconnect = 0;
  driver.set_option(MYSQL_OPT_RECONNECT, &reconnect);
}

}  // namespace

ConnectFailure classifyConnectFailure(unsigned error, const std::string& text,
                                      bool tcp, bool tls) {
  switch (error) {
    case CR_CONNECTION_ERROR:
    case CR_CONN_HOST_ERROR:
      return saysNoFreeLocalPort(text)
                 ? ConnectFailure::kNoFreeLocalPort
                 : ConnectFailure::kServerAway;
    case CR_SERVER_GONE_ERROR:
    case CR_SERVER_LOST:
    case kErrorServerShutdown:
    case kErrorConnectionKilled:
      return ConnectFailure::kServerAway;
    case kErrorTooManyConnections:
    case kErrorTooManyUserConnections:
      return ConnectFailure::kServerBusy;
    case kErrorUserLimitReached:
      if (text.find(kHourlyConnections) != std::string::npos) {
        return ConnectFailure::kHourlyLimit;
      }
      return text.find(kSimultaneousConnections) != std::string::npos
                 ? ConnectFailure::kServerBusy
                 : ConnectFailure::kFinal;
    case CR_SSL_CONNECTION_ERROR:
      return ConnectFailure::kTlsStep;
    case kErrorAccessDenied:
    case kErrorSecureTransportRequired:
      return tcp && !tls ? ConnectFailure::kRefusedWithoutTls
                         : ConnectFailure::kFinal;
    default:
      return ConnectFailure::kFinal;
  }
}

bool namesNoDatabase(unsigned error) {
  return error == kErrorUnknownDatabase || error == kErrorWrongDatabaseName ||
         error == kErrorNameTooLong;
}

namespace {

// The address to connect to, or the result that ends the statement before
// any connect: a refused option file (the library must never read a file
// that its reader would loop on), or a host word that cannot be read.
Outcome<ServerAddress, StatementResult> addressFor(
    const WebmapConnectionValues& values) {
  using Address = Outcome<ServerAddress, StatementResult>;
  StatementResult result;
  result.outcome = StatementOutcome::kServerUnreachable;
  result.problem.host = values.host;
  const ClientOptionSettings& files = clientOptionSettings();
  if (files.fault) {
    result.problem.failure = ConnectFailure::kOptionFile;
    result.problem.optionFile = files.fault;
    return Address::failed(result);
  }
  const Outcome<ServerAddress, HostWordFault> read = readHostWord(values.host);
  if (!read.ok()) {
    result.problem.failure = ConnectFailure::kFinal;
    result.problem.hostWord = read.failure();
    return Address::failed(result);
  }
  return read.value();
}

// The result of a connect that failed: a failed statement when the database
// could not be selected, else the server unreachable, with what can be
// found out about why.
StatementResult connectFailed(const mysqlpp::ConnectionFailed& e,
                              const WebmapConnectionValues& values,
                              const ConnectTarget& target) {
  const ClientOptionSettings& files = clientOptionSettings();
  StatementResult result;
  result.problem.host = values.host;
  result.errorNumber = static_cast<unsigned>(e.errnum());
  result.error = e.what();
  if (isFailedSelection(result.errorNumber)) {
    result.outcome = StatementOutcome::kFailed;
    return result;
  }
  result.outcome = StatementOutcome::kServerUnreachable;
  ConnectProblem& problem = result.problem;
  problem.failure = classifyConnectFailure(result.errorNumber, result.error,
                                           target.tcp, files.tls);
  problem.errorNumber = result.errorNumber;
  problem.error = result.error;
  diagnoseConnectFailure(problem, target, files);
  return result;
}

// Sends the statement on an open connection and reads its rows or its count
// of matched rows into result. Throws the library's exceptions.
void sendOn(mysqlpp::Connection& conn, Returns returns,
            const std::string& statement, StatementResult& result) {
  mysqlpp::Query query = conn.query();
  if (returns == Returns::kRows) {
    const mysqlpp::StoreQueryResult stored = query.store(statement);
    for (const mysqlpp::Row& row : stored) {
      std::vector<std::string>& columns = result.rows.emplace_back();
      for (size_t i = 0; i < row.size(); ++i) {
        // MySQL++ spells a NULL "NULL", like the text; it reads as "".
        columns.push_back(row[i].is_null()
                              ? std::string()
                              : std::string(row[i].data(), row[i].length()));
      }
    }
  } else {
    result.matchedRows = query.execute(statement).rows();
  }
}

// A statement the server refused, or one whose answer never came.
void statementFailed(unsigned errorNumber, const std::string& error,
                     StatementResult& result) {
  result.outcome = StatementOutcome::kFailed;
  result.errorNumber = errorNumber;
  result.error = error;
  result.connectionLost =
      errorNumber == CR_SERVER_GONE_ERROR || errorNumber == CR_SERVER_LOST;
}

}  // namespace

StatementResult runStatement(const WebmapConnectionValues& values,
                             Selects selects, Returns returns,
                             const std::string& statement) {
  const Outcome<ServerAddress, StatementResult> address = addressFor(values);
  if (!address.ok()) return address.failure();
  StatementResult result;
  const ConnectTarget target =
      connectTarget(address.value(), clientOptionSettings());
  mysqlpp::Connection conn(true);
  try {
    openConnection(conn, values, address.value(), target, selects);
    sendOn(conn, returns, statement, result);
  } catch (const mysqlpp::ConnectionFailed& e) {
    return connectFailed(e, values, target);
  } catch (const mysqlpp::BadQuery& e) {
    statementFailed(static_cast<unsigned>(e.errnum()), e.what(), result);
  } catch (const mysqlpp::Exception& e) {
    // BadConversion and the library's other failures: no server error.
    result.outcome = StatementOutcome::kFailed;
    result.error = e.what();
  }
  return result;
}

// The connection of a run with single-connection: MySQL++'s connection,
// opened with multi-statements, and which database it has selected.
struct RunConnection::State {
  WebmapConnectionValues values;
  std::unique_ptr<mysqlpp::Connection> conn;
  bool webmapSelected = false;
};

RunConnection::RunConnection(WebmapConnectionValues values)
    : state_(new State{std::move(values), nullptr, false}) {}

RunConnection::~RunConnection() { close(); }

void RunConnection::close() {
  if (state_->conn) state_->conn->disconnect();
  state_->conn.reset();
  state_->webmapSelected = false;
}

// Opens the connection unless it is open; the result of a connect that
// failed, or nothing.
std::optional<StatementResult> RunConnection::ensureOpen() {
  if (state_->conn) return std::nullopt;
  const Outcome<ServerAddress, StatementResult> address =
      addressFor(state_->values);
  if (!address.ok()) return address.failure();
  const ConnectTarget target =
      connectTarget(address.value(), clientOptionSettings());
  auto conn = std::make_unique<mysqlpp::Connection>(true);
  try {
    // Several statements a round trip.
    conn->set_option(new mysqlpp::MultiStatementsOption(true));
    openConnection(*conn, state_->values, address.value(), target,
                   Selects::kNoDatabase);
  } catch (const mysqlpp::ConnectionFailed& e) {
    return connectFailed(e, state_->values, target);
  }
  state_->conn = std::move(conn);
  return std::nullopt;
}

// Selects the webmap database unless it is selected; a failure is the
// statement's.
bool RunConnection::selectWebmap(StatementResult& result) {
  if (state_->webmapSelected) return true;
  mysqlpp::DBDriver& driver = *state_->conn->driver();
  if (!driver.select_db(state_->values.databaseName.c_str())) {
    statementFailed(static_cast<unsigned>(driver.errnum()), driver.error(),
                    result);
    if (result.connectionLost) close();
    return false;
  }
  state_->webmapSelected = true;
  return true;
}

StatementResult RunConnection::run(Selects selects, Returns returns,
                                   const std::string& statement) {
  if (std::optional<StatementResult> failed = ensureOpen()) return *failed;
  StatementResult result;
  if (selects == Selects::kWebmapDatabase && !selectWebmap(result)) {
    return result;
  }
  try {
    sendOn(*state_->conn, returns, statement, result);
  } catch (const mysqlpp::BadQuery& e) {
    statementFailed(static_cast<unsigned>(e.errnum()), e.what(), result);
  } catch (const mysqlpp::Exception& e) {
    result.outcome = StatementOutcome::kFailed;
    result.error = e.what();
  }
  // The database a DROP DATABASE takes away is no longer selected.
  if (statement.compare(0, 14, "DROP DATABASE ") == 0) {
    state_->webmapSelected = false;
  }
  if (result.connectionLost) close();
  return result;
}

BatchResult RunConnection::runBatch(const std::vector<std::string>& statements) {
  BatchResult batch;
  if (statements.empty()) return batch;
  if (std::optional<StatementResult> failed = ensureOpen()) {
    batch.answered.push_back(*failed);
    batch.end = BatchResult::End::kUnreachable;
    return batch;
  }
  StatementResult selected;
  if (!selectWebmap(selected)) {
    batch.answered.push_back(selected);
    batch.end = selected.connectionLost ? BatchResult::End::kLost
                                        : BatchResult::End::kStoppedAtFailure;
    if (selected.connectionLost) batch.answered.clear();
    return batch;
  }
  // One statement a line, each closed with its semicolon (the upload's
  // are), so that none runs into the next.
  std::string text;
  for (const std::string& statement : statements) {
    text += (text.empty() ? "" : "\n") + statement;
    if (statement.empty() || statement.back() != ';') text += ';';
  }
  mysqlpp::DBDriver& driver = *state_->conn->driver();
  // Each answer in turn: the first with the query, the others as the next
  // results. The server runs none after one that fails.
  bool ok = driver.execute(text.data(), text.size());
  for (size_t i = 0; i < statements.size(); ++i) {
    StatementResult result;
    if (!ok) {
      statementFailed(static_cast<unsigned>(driver.errnum()), driver.error(),
                      result);
      if (result.connectionLost) {
        close();
        batch.end = BatchResult::End::kLost;
        return batch;
      }
      batch.answered.push_back(result);
      batch.end = BatchResult::End::kStoppedAtFailure;
      // The rest of the batch was never run; what may still be queued is
      // read and dropped, so that the connection is ready for more.
      while (driver.more_results() &&
             driver.next_result() == mysqlpp::DBDriver::nr_more_results) {
      }
      return batch;
    }
    result.matchedRows = driver.affected_rows();
    batch.answered.push_back(result);
    if (i + 1 < statements.size()) {
      ok = driver.next_result() == mysqlpp::DBDriver::nr_more_results;
    }
  }
  batch.end = BatchResult::End::kAll;
  return batch;
}
