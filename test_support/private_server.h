// A MariaDB server of one test's own, for tests that need a server set up
// in a particular way, or stop and restart it under the tool: a fresh data
// folder and socket in a temporary directory, root without a password.
#ifndef ZELKOR_TEST_SUPPORT_PRIVATE_SERVER_H_
#define ZELKOR_TEST_SUPPORT_PRIVATE_SERVER_H_

#include <sys/types.h>

#include <string>
#include <vector>

#include "test_support/temp_dir.h"

struct PrivateServerOptions {
  // 0: table names compared by case (the Linux default); 1: not.
  int lowerCaseTableNames = 0;
  // When not empty, the server also listens on TCP at this address and
  // tcpPort; root may log in from there without a password.
  std::string tcpAddress;
  int tcpPort = 0;
  // Words put before the server's command, such as "ip netns exec NAME".
  std::vector<std::string> commandPrefix;
  // More server options, such as "--require-secure-transport=ON".
  std::vector<std::string> serverOptions;
  // The recipe is started in the server's folder's parent and given the
  // folder and socket as relative paths, as a user may give them.
  bool relativePaths = false;
};

// A TCP port on the loopback address (127.0.0.1, or ::1 for AF_INET6) that
// nothing listens on now.
int freeLoopbackPort(int family = 2 /* AF_INET */);

// A server that also listens on 127.0.0.1, at a port free now.
PrivateServerOptions onLoopbackTcp();

class PrivateServer {
 public:
  // Creates the data folder and starts the server.
  explicit PrivateServer(PrivateServerOptions options = {});
  ~PrivateServer();
  PrivateServer(const PrivateServer&) = delete;
  PrivateServer& operator=(const PrivateServer&) = delete;

  // Starts the server on the same data folder and waits until it answers.
  void start();
  // Ends the server at once, as a crash or a pulled cable would.
  void kill();

  const std::string& socket() const { return socket_; }
  // The server's data and log folder.
  const ScopedTempDir& dir() const { return dir_; }
  std::string env() const { return "MYSQL_UNIX_PORT=" + socket_; }

 private:
  PrivateServerOptions options_;
  ScopedTempDir dir_;
  std::string socket_;
  pid_t pid_ = -1;
};

#endif  // ZELKOR_TEST_SUPPORT_PRIVATE_SERVER_H_
