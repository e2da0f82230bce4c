#include "webmap/webmap_run.h"

#include <algorithm>
#include <thread>

namespace {

std::string failureText(const std::string& statement,
                        const StatementResult& result) {
  return result.error + " (in: " + statement + ")";
}

}  // namespace

ServerUnreachable::ServerUnreachable(const ConnectProblem& problem)
    : std::runtime_error("cannot connect to " + problem.host + ": " +
                         problem.error),
      problem_(problem) {}

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

StatementResult WebmapRun::send(Selects selects, Returns returns,
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
      throw ServerUnreachable(result.problem);
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
  if (missing && !createFailed_ && createFailure_.empty()) {
    webmapWentMissing_ = true;
  }
  if (failedStatements_++ > 0) return;
  const bool causedByFailedCreate =
      result.errorNumber == kErrorUnknownDatabase && !createFailure_.empty();
  firstFailure_ =
      causedByFailedCreate ? createFailure_ : failureText(statement, result);
}

void WebmapRun::noteCreateFailure(const std::string& statement,
                                  const StatementResult& result) {
  createFailure_ = failureText(statement, result);
}

void WebmapRun::beginUpload(int32_t total, bool inserting) {
  hexesWritten_ = HexesWritten{true, inserting, 0, total};
}

std::string runWebmapStatement(WebmapRun& run, const std::string& statement,
                               MustMatch mustMatch) {
  StatementResult result =
      run.send(Selects::kWebmapDatabase, Returns::kNoRows, statement);
  if (result.succeeded() && mustMatch == MustMatch::kARow &&
      result.matchedRows == 0) {
    result.outcome = StatementOutcome::kFailed;
    result.error = "no row has this ID";
  }
  if (result.succeeded()) return "1";
  run.out() << "Info:   Error updating!\n";
  run.recordFailure(statement, result);
  return kStatementFailed;
}

std::string queryWebmapCount(WebmapRun& run, const std::string& statement) {
  const StatementResult result =
      run.send(Selects::kWebmapDatabase, Returns::kRows, statement);
  if (!result.succeeded()) {
    run.out() << "Info:   Found webmap database. Updating...\n";
    if (result.errorNumber != kErrorNoSuchTable) {
      run.recordFailure(statement, result);
    }
    return kStatementFailed;
  }
  if (result.rows.empty() || result.rows.back().empty()) return "";
  return result.rows.back().front();
}
