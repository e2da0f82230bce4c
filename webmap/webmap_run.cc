#include "webmap/webmap_run.h"

#include <algorithm>
#include <thread>

#include "config/option_files.h"

std::chrono::milliseconds pauseAfter(const ConnectPatience& patience,
                                     int tries) {
  std::chrono::milliseconds pause = patience.firstPause;
  for (int i = 1; i < tries && pause < patience.longestPause; ++i) pause *= 2;
  return std::min(pause, patience.longestPause);
}

bool worthAnotherTry(ConnectFailure failure, bool reachedBefore) {
  return failure == ConnectFailure::kServerBusy ||
         (failure == ConnectFailure::kServerAway && reachedBefore);
}

WebmapRun::WebmapRun(WebmapConnectionValues connectTo, std::ostream& messages)
    : WebmapRun(std::move(connectTo), messages,
                clientOptionSettings().singleConnection) {}

WebmapRun::WebmapRun(WebmapConnectionValues connectTo, std::ostream& messages,
                     bool singleConnection)
    : values_(std::move(connectTo)), out_(&messages) {
  if (singleConnection) connection_ = std::make_unique<RunConnection>(values_);
}

WebmapRun::~WebmapRun() = default;

template <typename Attempt>
WebmapOutcome<StatementResult> WebmapRun::withConnectPatience(Attempt attempt) {
  std::chrono::milliseconds waited{0};
  bool announced = false;
  for (int tries = 1;; ++tries) {
    StatementResult result = attempt();
    if (result.outcome != StatementOutcome::kServerUnreachable) {
      reachedServer_ = true;
      if (announced) out() << "Info:   The MySQL server answers again.\n";
      return result;
    }
    const std::chrono::milliseconds pause = pauseAfter(patience_, tries);
    if (!worthAnotherTry(result.problem.failure, reachedServer_) ||
        waited + pause > patience_.limit) {
      return WebmapOutcome<StatementResult>::failed(result.problem);
    }
    if (!announced && waited + pause >= patience_.announceAfter) {
      out() << "Info:   Waiting for the MySQL server: " << result.error << "\n";
      out().flush();
      announced = true;
    }
    std::this_thread::sleep_for(pause);
    waited += pause;
  }
}

WebmapOutcome<Done> WebmapRun::checkTransaction(const StatementResult& result) {
  // A lost connection, and a deadlock, undo the whole transaction: the
  // statements after it would each be on their own.
  const bool undone =
      result.connectionLost || result.errorNumber == kErrorDeadlock;
  if (!inTransaction_ || !undone) return Done{};
  inTransaction_ = false;
  return WebmapOutcome<Done>::failed(TransactionLost{result.error});
}

WebmapOutcome<StatementResult> WebmapRun::send(Selects selects,
                                               Returns returns,
                                               const std::string& statement) {
  if (!connection_) {
    return withConnectPatience(
        [&] { return runStatement(values_, selects, returns, statement); });
  }
  WebmapOutcome<StatementResult> sent = withConnectPatience(
      [&] { return connection_->run(selects, returns, statement); });
  if (!sent.ok()) return sent;
  const WebmapOutcome<Done> kept = checkTransaction(sent.value());
  if (!kept.ok()) return kept.passOn<StatementResult>();
  return sent;
}

WebmapOutcome<std::vector<StatementResult>> WebmapRun::sendBatches(
    const std::vector<std::string>& statements) {
  using Sent = WebmapOutcome<std::vector<StatementResult>>;
  std::vector<StatementResult> results;
  size_t next = 0;
  while (next < statements.size()) {
    if (batchesRefused_) {
      WebmapOutcome<StatementResult> one = send(
          Selects::kWebmapDatabase, Returns::kNoRows, statements[next++]);
      if (!one.ok()) return one.passOn<std::vector<StatementResult>>();
      results.push_back(one.value());
      continue;
    }
    const size_t end = std::min(statements.size(), next + kBatchStatements);
    const std::vector<std::string> batch(statements.begin() + next,
                                         statements.begin() + end);
    BatchResult answers;
    const WebmapOutcome<StatementResult> opened = withConnectPatience([&] {
      answers = connection_->runBatch(batch);
      return answers.end == BatchResult::End::kUnreachable
                 ? answers.answered.front()
                 : StatementResult{};
    });
    if (!opened.ok()) return opened.passOn<std::vector<StatementResult>>();
    // A server (or a proxy before it) that does not take several statements
    // at once finds a syntax error where the second begins.
    if (answers.end == BatchResult::End::kStoppedAtFailure &&
        answers.answered.size() == 1 && batch.size() > 1 &&
        answers.answered.front().errorNumber == kErrorParse) {
      WebmapOutcome<StatementResult> alone =
          send(Selects::kWebmapDatabase, Returns::kNoRows, batch.front());
      if (!alone.ok()) return alone.passOn<std::vector<StatementResult>>();
      if (alone.value().succeeded()) {
        batchesRefused_ = true;
        out() << "Info:   The MySQL server takes one statement at a time on "
                 "this connection: sending them so.\n";
      }
      results.push_back(alone.value());
      ++next;
      continue;
    }
    for (StatementResult& answer : answers.answered) {
      const WebmapOutcome<Done> kept = checkTransaction(answer);
      if (!kept.ok()) return kept.passOn<std::vector<StatementResult>>();
      results.push_back(std::move(answer));
    }
    next += answers.answered.size();
    if (answers.end == BatchResult::End::kLost) {
      // Whether the server ran them cannot be known: each has failed.
      StatementResult lost;
      lost.outcome = StatementOutcome::kFailed;
      lost.connectionLost = true;
      lost.error = "the connection to the MySQL server was lost before it "
                   "answered";
      const WebmapOutcome<Done> kept = checkTransaction(lost);
      if (!kept.ok()) return kept.passOn<std::vector<StatementResult>>();
      for (; next < end; ++next) results.push_back(lost);
    }
  }
  return Sent(std::move(results));
}

WebmapOutcome<Done> WebmapRun::beginTransaction() {
  if (!connection_) return Done{};
  const WebmapOutcome<StatementResult> begun =
      send(Selects::kWebmapDatabase, Returns::kNoRows, "START TRANSACTION");
  if (!begun.ok()) return begun.passOn<Done>();
  // A transaction that could not begin leaves each statement on its own, as
  // the default way has it; it is tallied like any failed statement.
  if (!begun.value().succeeded()) {
    recordFailure("START TRANSACTION", begun.value());
    return Done{};
  }
  inTransaction_ = true;
  return Done{};
}

WebmapOutcome<Done> WebmapRun::commitTransaction() {
  if (!connection_ || !inTransaction_) return Done{};
  // A COMMIT whose answer was lost may have been carried out: it fails like
  // any statement, and the next run rebuilds.
  inTransaction_ = false;
  const WebmapOutcome<StatementResult> committed =
      send(Selects::kWebmapDatabase, Returns::kNoRows, "COMMIT");
  if (!committed.ok()) return committed.passOn<Done>();
  if (!committed.value().succeeded()) recordFailure("COMMIT", committed.value());
  return Done{};
}

void WebmapRun::recordFailure(const std::string& statement,
                              const StatementResult& result) {
  if (statement.compare(0, 7, "CREATE ") == 0) createFailed_ = true;
  const bool missing = result.errorNumber == kErrorUnknownDatabase ||
                       result.errorNumber == kErrorNoSuchTable ||
                       result.errorNumber == kErrorDropMissingDatabase;
  if (missing && !createFailed_ && !createFailure_) {
    webmapWentMissing_ = true;
  }
  if (failedStatements_++ > 0) return;
  const bool causedByFailedCreate =
      result.errorNumber == kErrorUnknownDatabase && createFailure_;
  firstFailure_ = causedByFailedCreate ? *createFailure_
                                       : FailedStatement{result.error, statement};
}

void WebmapRun::noteCreateFailure(const std::string& statement,
                                  const StatementResult& result) {
  createFailure_ = FailedStatement{result.error, statement};
}

void WebmapRun::beginUpload(int32_t total, bool inserting) {
  hexesWritten_ = HexesWritten{true, inserting, 0, total};
}

WebmapOutcome<Written> runWebmapStatement(WebmapRun& run,
                                          const std::string& statement,
                                          MustMatch mustMatch) {
  WebmapOutcome<StatementResult> sent =
      run.send(Selects::kWebmapDatabase, Returns::kNoRows, statement);
  if (!sent.ok()) return sent.passOn<Written>();
  return noteWebmapStatement(run, statement, std::move(sent.value()),
                             mustMatch);
}

Written noteWebmapStatement(WebmapRun& run, const std::string& statement,
                            StatementResult result, MustMatch mustMatch) {
  if (result.succeeded() && mustMatch == MustMatch::kARow &&
      result.matchedRows == 0) {
    result.outcome = StatementOutcome::kFailed;
    result.error = "no row has this ID";
  }
  if (result.succeeded()) return Written::kYes;
  run.out() << "Info:   Error updating!\n";
  run.recordFailure(statement, result);
  return Written::kNo;
}

WebmapOutcome<std::optional<std::string>> queryWebmapCount(
    WebmapRun& run, const std::string& statement) {
  const WebmapOutcome<StatementResult> sent =
      run.send(Selects::kWebmapDatabase, Returns::kRows, statement);
  if (!sent.ok()) return sent.passOn<std::optional<std::string>>();
  const StatementResult& result = sent.value();
  if (!result.succeeded()) {
    run.out() << kFoundWebmapLine;
    if (result.errorNumber != kErrorNoSuchTable) {
      run.recordFailure(statement, result);
    }
    return std::optional<std::string>();
  }
  if (result.rows.empty() || result.rows.back().empty()) {
    return std::optional<std::string>("");
  }
  return std::optional<std::string>(result.rows.back().front());
}
