#include "test_support/tcp_proxy.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>

namespace {

sockaddr_in loopback(int port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<uint16_t>(port));
  return address;
}

// The client's capability flag that asks for several statements at once
// (CLIENT_MULTI_STATEMENTS, bit 16): in the login packet, after the 4-byte
// packet header, the flags stand least significant byte first.
constexpr size_t kMultiStatementsByte = 4 + 2;
constexpr unsigned char kMultiStatementsBit = 0x01;

// Copies what one side sends to the other until either closes; a the
// client, b the server. With refuseMultiStatements, the client's first
// packet loses its multi-statements flag.
void pump(int a, int b, const std::atomic<bool>& stopping,
          bool refuseMultiStatements) {
  pollfd fds[2] = {{a, POLLIN, 0}, {b, POLLIN, 0}};
  char buffer[16384];
  bool loginSeen = false;
  while (!stopping) {
    if (poll(fds, 2, 100) <= 0) continue;
    for (int i = 0; i < 2; ++i) {
      if (fds[i].revents == 0) continue;
      const ssize_t got = read(fds[i].fd, buffer, sizeof buffer);
      if (got <= 0) return;
      if (i == 0 && !loginSeen) {
        loginSeen = true;
        if (refuseMultiStatements &&
            got > static_cast<ssize_t>(kMultiStatementsByte)) {
          buffer[kMultiStatementsByte] &= ~kMultiStatementsBit;
        }
      }
      if (write(fds[1 - i].fd, buffer, static_cast<size_t>(got)) != got) {
        return;
      }
    }
  }
}

}  // namespace

TcpProxy::TcpProxy(int serverPort) : serverPort_(serverPort) {
  listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address = loopback(0);
  socklen_t length = sizeof address;
  if (listener_ < 0 ||
      bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
      listen(listener_, 16) != 0 ||
      getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) !=
          0) {
    throw std::runtime_error("the proxy cannot listen");
  }
  port_ = ntohs(address.sin_port);
  acceptor_ = std::thread([this] { acceptLoop(); });
}

TcpProxy::~TcpProxy() {
  stopping_ = true;
  release();
  acceptor_.join();
  for (std::thread& relay : relays_) relay.join();
  close(listener_);
}

void TcpProxy::hold() {
  std::lock_guard<std::mutex> lock(mutex_);
  holding_ = true;
}

bool TcpProxy::waitUntilOnlyAHeldConnection() {
  std::unique_lock<std::mutex> lock(mutex_);
  return changed_.wait_for(lock, std::chrono::seconds(60),
                           [this] { return held_ > 0 && open_ == held_; });
}

void TcpProxy::release() {
  std::lock_guard<std::mutex> lock(mutex_);
  holding_ = false;
  changed_.notify_all();
}

void TcpProxy::acceptLoop() {
  pollfd waiting{listener_, POLLIN, 0};
  while (!stopping_) {
    if (poll(&waiting, 1, 100) <= 0) continue;
    const int client = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (client < 0) continue;
    std::lock_guard<std::mutex> lock(mutex_);
    ++open_;
    relays_.emplace_back([this, client] { relay(client); });
  }
}

void TcpProxy::relay(int client) {
  {
    std::unique_lock<std::mutex> lock(mutex_);
    if (holding_) {
      ++held_;
      changed_.notify_all();
      changed_.wait(lock, [this] { return !holding_; });
      --held_;
    }
  }
  const int server = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  const sockaddr_in address = loopback(serverPort_);
  if (server >= 0 &&
      connect(server, reinterpret_cast<const sockaddr*>(&address),
              sizeof address) == 0) {
    pump(client, server, stopping_, refuseMultiStatements_);
  }
  if (server >= 0) close(server);
  close(client);
  std::lock_guard<std::mutex> lock(mutex_);
  --open_;
  changed_.notify_all();
}
