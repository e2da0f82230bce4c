// A TCP relay on a 127.0.0.1 port in front of a test's server, which can
// hold new connections before they reach the server: a connection held so
// is a client still waiting for the server's greeting, with nothing sent.
// It can also stand for a proxy that does not pass on several statements at
// once.
#ifndef ZELKOR_TEST_SUPPORT_TCP_PROXY_H_
#define ZELKOR_TEST_SUPPORT_TCP_PROXY_H_

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

class TcpProxy {
 public:
  // Listens on a free 127.0.0.1 port and relays each connection to
  // 127.0.0.1:serverPort.
  explicit TcpProxy(int serverPort);
  ~TcpProxy();
  TcpProxy(const TcpProxy&) = delete;
  TcpProxy& operator=(const TcpProxy&) = delete;

  int port() const { return port_; }

  // From now on, new connections wait before the relay connects them.
  void hold();
  // Waits (up to 60 s) until a connection is held and no other one is
  // open; returns whether that happened.
  bool waitUntilOnlyAHeldConnection();
  // Lets held and new connections through again: each is connected to the
  // server then (and closed when the server does not take it).
  void release();
  // From now on, the client's login (the first packet it sends, in plain
  // text) reaches the server without the flag that asks for several
  // statements at once: the server then finds a syntax error where a
  // second statement begins.
  void refuseMultiStatements() { refuseMultiStatements_ = true; }

 private:
  void acceptLoop();
  void relay(int client);

  int listener_ = -1;
  int serverPort_;
  int port_ = 0;
  std::atomic<bool> stopping_{false};
  std::atomic<bool> refuseMultiStatements_{false};
  std::mutex mutex_;
  std::condition_variable changed_;
  bool holding_ = false;
  int held_ = 0;
  int open_ = 0;
  std::thread acceptor_;
  std::vector<std::thread> relays_;
};

#endif  // ZELKOR_TEST_SUPPORT_TCP_PROXY_H_
