#include "webmap/webmap_run.h"

#include <algorithm>
#include <thread>


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

WebmapOutcome<StatementResult> WebmapRun::send(Selects selects,
                                               Returns returns,
                                               const std::string& statement) {
  std::chrono::milliseconds waited{0};
  bool announced = false;
  for (int tries = 1;; ++tries) {
    StatementResult result = runStatement(values_, selects, returns, statement);
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
  StatementResult& result = sent.value();
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
    run.out() << "Info:   Found webmap database. Updating...\n";
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
