#include "test_support/test_server.h"

#include <gtest/gtest.h>
#include <mysql++/mysql++.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <stdexcept>

namespace {

void connect(mysqlpp::Connection& conn, const std::string& database,
             const std::string& socket) {
  conn.connect(database.empty() ? nullptr : database.c_str(), socket.c_str(),
               "root", "");
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
  mysqlpp::Connection conn(true);
  connect(conn, database, socket);
  conn.query().execute(statement);
}

Rows query(const std::string& statement, const std::string& database,
           const std::string& socket) {
  mysqlpp::Connection conn(true);
  connect(conn, database, socket);
  const mysqlpp::StoreQueryResult result = conn.query(statement).store();
  Rows rows;
  for (const mysqlpp::Row& row : result) {
    std::vector<std::string> values;
    for (size_t i = 0; i < row.size(); ++i) {
      values.push_back(row[i].is_null()
                           ? "NULL"
                           : std::string(row[i].data(), row[i].length()));
    }
    rows.push_back(values);
  }
  return rows;
}

std::string uniqueName(const std::string& prefix) {
  static std::atomic<int> counter{0};
  return prefix + "_" + std::to_string(getpid()) + "_" +
         std::to_string(counter++);
}
