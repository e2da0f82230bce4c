// The throwaway MariaDB server that scripts/with-mariadb starts for the
// integration tests, seen from a test: root access over the socket in
// MYSQL_UNIX_PORT, and a uniquely named webmap database per test, dropped
// afterwards.
#ifndef ZELKOR_TEST_SUPPORT_TEST_SERVER_H_
#define ZELKOR_TEST_SUPPORT_TEST_SERVER_H_

#include <stdexcept>
#include <string>
#include <vector>

#include "webmap/statement_runner.h"  // Rows

// A statement that the server refused, or a connect that failed.
class ServerError : public std::runtime_error {
 public:
  ServerError(unsigned number, const std::string& text)
      : std::runtime_error(text), number_(number) {}
  // The server's or the client library's error number.
  unsigned number() const { return number_; }

 private:
  unsigned number_;
};

// The socket of the server, from the environment variable socketVariable.
// Fails the test (fatally) when it is not set: these tests never skip.
std::string serverSocket(const char* socketVariable = "MYSQL_UNIX_PORT");

// Runs statements as root on the server at socket, selecting database when
// not empty. Throws ServerError on failure. A NULL reads as "".
void execute(const std::string& statement, const std::string& database = "",
             const std::string& socket = serverSocket());
Rows query(const std::string& statement, const std::string& database = "",
           const std::string& socket = serverSocket());

// A database name no other test uses, made from a prefix, the process id and
// a counter.
std::string uniqueName(const std::string& prefix);

#endif  // ZELKOR_TEST_SUPPORT_TEST_SERVER_H_
