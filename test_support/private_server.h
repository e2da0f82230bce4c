// A MariaDB server of one test's own, for tests that stop and restart the
// server under the tool: a fresh data folder and socket in a temporary
// directory, root without a password, lower_case_table_names=1.
#ifndef ZELKOR_TEST_SUPPORT_PRIVATE_SERVER_H_
#define ZELKOR_TEST_SUPPORT_PRIVATE_SERVER_H_

#include <sys/types.h>

#include <string>

#include "test_support/temp_dir.h"

class PrivateServer {
 public:
  PrivateServer();  // creates the data folder and starts the server
  ~PrivateServer();
  PrivateServer(const PrivateServer&) = delete;
  PrivateServer& operator=(const PrivateServer&) = delete;

  // Starts the server on the same data folder and waits until it answers.
  void start();
  // Ends the server at once, as a crash or a pulled cable would.
  void kill();

  const std::string& socket() const { return socket_; }
  std::string env() const { return "MYSQL_UNIX_PORT=" + socket_; }

 private:
  ScopedTempDir dir_;
  std::string socket_;
  pid_t pid_ = -1;
};

#endif  // ZELKOR_TEST_SUPPORT_PRIVATE_SERVER_H_
