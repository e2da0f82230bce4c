// The run-wide state of the webmap work and the two statement operations the
// preparation and the upload are written over. A statement that fails is
// reported and tallied, and the run goes on; a server that cannot be reached
// at all, or a database that a rebuild must not drop, ends the webmap work
// at once: every operation gives back a WebmapOutcome, and one that failed
// is passed on up to the program without sending anything more.
#ifndef ZELKOR_WEBMAP_WEBMAP_RUN_H_
#define ZELKOR_WEBMAP_WEBMAP_RUN_H_

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "base/outcome.h"
#include "webmap/statement_runner.h"

// A database that a rebuild would have to drop although it holds more than
// the webmap's two tables, or whose content could not be looked up: nothing
// has been dropped, and nothing must be written.
struct NotAWebmapDatabase {
  std::string database;
  // The objects that are not the webmap's, as "table 'posts'", "view 'v'",
  // ...; empty when the look-up failed.
  std::vector<std::string> others;
  // The server's error when the look-up failed, else empty.
  std::string lookupError;
};

// With single-connection: the server undid the upload's transaction (the
// connection went away, or a deadlock). The statements after it are not
// sent, so that the rest of the turn is not written beside the last.
struct TransactionLost {
  std::string error;  // the client library's or the server's
};

// Why the webmap work ended before its end: no connection could be opened
// (the server is unreachable or refuses the login; a database that cannot
// be selected is a failed statement instead), a rebuild would drop more
// than the webmap, or the upload's transaction was lost.
using WebmapStop =
    std::variant<ConnectProblem, NotAWebmapDatabase, TransactionLost>;

template <typename Value>
using WebmapOutcome = Outcome<Value, WebmapStop>;

// How long a connect that the server refuses for a moment is tried again:
// pauses from 50 ms, doubling up to 1 s, for at most 30 s per statement.
struct ConnectPatience {
  std::chrono::milliseconds firstPause{50};
  std::chrono::milliseconds longestPause{1000};
  std::chrono::milliseconds limit{30000};
  // Waits shorter than this (the usual race with an account's connection
  // limit) are not worth a line in the log.
  std::chrono::milliseconds announceAfter{1000};
};

// The pause before try number tries + 1 (tries >= 1).
std::chrono::milliseconds pauseAfter(const ConnectPatience& patience,
                                     int tries);

// Whether a connect that failed so is tried again: a server that is busy
// always, one that is away only once the run has reached it (at the first
// connect it is a wrong host or port).
bool worthAnotherTry(ConnectFailure failure, bool reachedBefore);

// How far the hex upload had come.
struct HexesWritten {
  bool begun = false;
  bool inserting = false;  // INSERT into a webmap made in this run
  int32_t written = 0;     // statements that wrote their hex
  int32_t total = 0;
};

// A statement that failed, as the server or the client library said.
struct FailedStatement {
  std::string error;
  std::string statement;
};

// How many statements go in one round trip with single-connection.
constexpr size_t kBatchStatements = 500;

// Owned by the driver: where to connect, where messages go, the statements
// that failed and how far the upload came. With single-connection (the
// option files' setting, or singleConnection here) one connection carries
// every statement, the upload goes in batches and in one transaction.
class WebmapRun {
 public:
  WebmapRun(WebmapConnectionValues connectTo, std::ostream& messages);
  WebmapRun(WebmapConnectionValues connectTo, std::ostream& messages,
            bool singleConnection);
  ~WebmapRun();

  bool singleConnection() const { return connection_ != nullptr; }

  const WebmapConnectionValues& values() const { return values_; }
  std::ostream& out() { return *out_; }
  int failedStatements() const { return failedStatements_; }
  // The first failure that caused the others.
  const FailedStatement& firstFailure() const { return firstFailure_; }

  // Sends one statement. A connect that the server refuses for a moment is
  // tried again (see worthAnotherTry and ConnectPatience), with one line
  // when the wait begins to last and one when the run goes on; the
  // statement itself goes out once. Fails with the ConnectProblem when no
  // connection can be opened; a statement that the server refused is a
  // result like any other.
  WebmapOutcome<StatementResult> send(Selects selects, Returns returns,
                                      const std::string& statement);
  // With single-connection: statements that yield no rows, on the webmap
  // database, in batches; one result for each, in order. A statement that
  // fails does not stop the ones after it (the rest of its batch is sent
  // again from the one after it); one whose answer a lost connection took
  // away has failed. A server that refuses batches gets one statement a
  // round trip from then on, said once.
  WebmapOutcome<std::vector<StatementResult>> sendBatches(
      const std::vector<std::string>& statements);
  // With single-connection, the upload's transaction (nothing otherwise).
  WebmapOutcome<Done> beginTransaction();
  WebmapOutcome<Done> commitTransaction();
  // Tallies a failed statement.
  void recordFailure(const std::string& statement,
                     const StatementResult& result);
  // Keeps why CREATE DATABASE failed (for another reason than an existing
  // database) without tallying it: an account may lack the right to create
  // a database that exists. Should the database then prove to be missing,
  // this is the cause the first failure names.
  void noteCreateFailure(const std::string& statement,
                         const StatementResult& result);
  // Whether a failed statement found the webmap database or one of its
  // tables missing after this run had found or made them (the run's own
  // create did not fail): another client changed the webmap meanwhile.
  bool webmapWentMissing() const { return webmapWentMissing_; }

  // The upload of total hexes begins; each hex written is counted.
  void beginUpload(int32_t total, bool inserting);
  void countHexWritten() { ++hexesWritten_.written; }
  const HexesWritten& hexesWritten() const { return hexesWritten_; }

 private:
  // Sends by attempt, trying again a connect that the server refuses for a
  // moment; the attempt's result, or the problem that ends the run.
  template <typename Attempt>
  WebmapOutcome<StatementResult> withConnectPatience(Attempt attempt);
  // A statement that lost the connection inside the transaction.
  WebmapOutcome<Done> checkTransaction(const StatementResult& result);

  WebmapConnectionValues values_;
  std::ostream* out_;
  std::unique_ptr<RunConnection> connection_;
  bool batchesRefused_ = false;
  bool inTransaction_ = false;
  const ConnectPatience patience_;
  bool reachedServer_ = false;
  int failedStatements_ = 0;
  FailedStatement firstFailure_;
  std::optional<FailedStatement> createFailure_;
  bool createFailed_ = false;
  bool webmapWentMissing_ = false;
  HexesWritten hexesWritten_;
};

// What runWebmapStatement asks of a statement besides being accepted.
enum class MustMatch { kNothing, kARow };

// Whether a statement did its work.
enum class Written { kYes, kNo };

// Runs a statement that yields no rows (CREATE TABLE, INSERT, UPDATE,
// DELETE) on a connection that selects the webmap database: kYes, or kNo
// after printing "Info:   Error updating!" and tallying the failure; with
// MustMatch::kARow a statement that matched no row has failed too.
WebmapOutcome<Written> runWebmapStatement(
    WebmapRun& run, const std::string& statement,
    MustMatch mustMatch = MustMatch::kNothing);

// What a statement that yields no rows came to: kYes, or kNo after printing
// "Info:   Error updating!" and tallying the failure (as runWebmapStatement
// does, for a statement already sent).
Written noteWebmapStatement(WebmapRun& run, const std::string& statement,
                            StatementResult result, MustMatch mustMatch);

// The line of a run that finds a webmap database already there, as the
// CREATE DATABASE that fails says and as a count that fails says again.
inline constexpr char kFoundWebmapLine[] =
    "Info:   Found webmap database. Updating...\n";

// Runs a SELECT on a connection that selects the webmap database and gives
// the text of the first column of its last row ("" when it has no row). On
// failure prints kFoundWebmapLine and gives no text. A missing table is part
// of the validity test and is not tallied;
// any other failure is.
WebmapOutcome<std::optional<std::string>> queryWebmapCount(
    WebmapRun& run, const std::string& statement);

#endif  // ZELKOR_WEBMAP_WEBMAP_RUN_H_
