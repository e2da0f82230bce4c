#include "test_support/test_server.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <stdexcept>

#include "webmap/statement_runner.h"

namespace {

// Root on the server at socket, through the tool's own statement runner
// (the only code that talks to the client library).
StatementResult asRoot(const std::string& statement,
                       const std::string& database, const std::string& socket,
                       Returns returns) {
  StatementResult result = runStatement(
      {socket, "root", "", database},
      database.empty() ? Selects::kNoDatabase : Selects::kWebmapDatabase,
      returns, statement);
  if (!result.succeeded()) {
    throw ServerError(result.errorNumber,
                      result.error + " (in: " + statement + ")");
  }
  return result;
}

}  // namespace

std::string serverSocket(const char* socketVariable) {
  const char* socket = std::getenv(socketVariable);
  if (socket == nullptr || *socket == '\0') {
    ADD_FAILURE() << socketVariable
                  << " is not set: run the integration tests through "
                     "scripts/test or scripts/with-mariadb";
    throw std::runtime_error("no test server");
  }
  return socket;
}

void execute(const std::string& statement, const std::string& database,
             const std::string& socket) {
  asRoot(statement, database, socket, Returns::kNoRows);
}

Rows query(const std::string& statement, const std::string& database,
           const std::string& socket) {
  return asRoot(statement, database, socket, Returns::kRows).rows;
}

std::string uniqueName(const std::string& prefix) {
  static std::atomic<int> counter{0};
  return prefix + "_" + std::to_string(getpid()) + "_" +
         std::to_string(counter++);
}
