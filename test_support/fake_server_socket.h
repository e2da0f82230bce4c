// A listening Unix socket standing in for the MySQL server's, so that a test
// can tell whether the tool tried to connect at all.
#ifndef ZELKOR_TEST_SUPPORT_FAKE_SERVER_SOCKET_H_
#define ZELKOR_TEST_SUPPORT_FAKE_SERVER_SOCKET_H_

#include <string>

class FakeServerSocket {
 public:
  explicit FakeServerSocket(const std::string& path);
  ~FakeServerSocket();
  FakeServerSocket(const FakeServerSocket&) = delete;
  FakeServerSocket& operator=(const FakeServerSocket&) = delete;

  // Whether a connection is waiting to be accepted.
  bool connectionAttempted() const;
  // The environment entry that points the client library at this socket.
  std::string env() const { return "MYSQL_UNIX_PORT=" + path_; }

 private:
  std::string path_;
  int fd_ = -1;
};

#endif  // ZELKOR_TEST_SUPPORT_FAKE_SERVER_SOCKET_H_
