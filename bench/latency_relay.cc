// A TCP relay that adds latency, as a far server has: it listens on
// 127.0.0.1:LISTEN-PORT and relays each connection to 127.0.0.1:SERVER-PORT,
// holding every chunk DELAY milliseconds in each direction (so a round trip
// costs twice DELAY more, and a TCP connect once more). Runs until killed.
// Usage: latency_relay LISTEN-PORT SERVER-PORT DELAY-MS
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <mutex>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

sockaddr_in loopback(int port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<uint16_t>(port));
  return address;
}

// One direction: what from sends reaches to delay later, in order; the end
// of the stream too.
void direction(int from, int to, std::chrono::milliseconds delay) {
  struct Chunk {
    Clock::time_point due;
    std::string bytes;  // empty: the sender closed
  };
  std::mutex mutex;
  std::condition_variable ready;
  std::deque<Chunk> queue;
  std::thread writer([&] {
    for (;;) {
      std::unique_lock<std::mutex> lock(mutex);
      ready.wait(lock, [&] { return !queue.empty(); });
      Chunk chunk = std::move(queue.front());
      queue.pop_front();
      lock.unlock();
      std::this_thread::sleep_until(chunk.due);
      if (chunk.bytes.empty()) {
        shutdown(to, SHUT_WR);
        return;
      }
      size_t sent = 0;
      while (sent < chunk.bytes.size()) {
        const ssize_t n =
            write(to, chunk.bytes.data() + sent, chunk.bytes.size() - sent);
        if (n <= 0) return;
        sent += static_cast<size_t>(n);
      }
    }
  });
  char buffer[65536];
  for (;;) {
    const ssize_t got = read(from, buffer, sizeof buffer);
    std::lock_guard<std::mutex> lock(mutex);
    queue.push_back({Clock::now() + delay,
                     got > 0 ? std::string(buffer, static_cast<size_t>(got))
                             : std::string()});
    ready.notify_one();
    if (got <= 0) break;
  }
  writer.join();
}

void relay(int client, int serverPort, std::chrono::milliseconds delay) {
  // The connect's own round trip is slowed too: the client's SYN waits.
  std::this_thread::sleep_for(2 * delay);
  const int server = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  const sockaddr_in address = loopback(serverPort);
  if (server >= 0 && connect(server, reinterpret_cast<const sockaddr*>(&address),
                             sizeof address) == 0) {
    const int on = 1;
    setsockopt(server, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    std::thread up([&] { direction(client, server, delay); });
    direction(server, client, delay);
    up.join();
  }
  if (server >= 0) close(server);
  close(client);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s LISTEN-PORT SERVER-PORT DELAY-MS\n",
                 argv[0]);
    return 2;
  }
  // A client that goes away mid-stream must end its relay, not the process.
  signal(SIGPIPE, SIG_IGN);
  const int listenPort = std::atoi(argv[1]);
  const int serverPort = std::atoi(argv[2]);
  const std::chrono::milliseconds delay(std::atoi(argv[3]));
  const int listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  const int on = 1;
  setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  const sockaddr_in address = loopback(listenPort);
  if (listener < 0 ||
      bind(listener, reinterpret_cast<const sockaddr*>(&address),
           sizeof address) != 0 ||
      listen(listener, 128) != 0) {
    std::perror("latency_relay");
    return 1;
  }
  for (;;) {
    const int client = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
    if (client < 0) continue;
    std::thread(relay, client, serverPort, delay).detach();
  }
}
