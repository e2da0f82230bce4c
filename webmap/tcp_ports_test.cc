// Runs over TCP one after another: every statement has a connection of its
// own, and a closed connection must not hold a local port for a minute, or
// the second run of a large map finds none left. Tried in a network
// namespace of the test's own where, as towards another machine, the kernel
// does not hand out ports that still wait after a close
// (net.ipv4.tcp_tw_reuse=0); on the machine's own loopback it would, and
// hide the fault.
#include <arpa/inet.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sched.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <thread>

#include "test_support/private_server.h"
#include "test_support/webmap_run_fixture.h"

namespace {

// Runs a shell command; returns its standard output, or throws with what it
// said when it fails.
std::string shell(const std::string& command) {
  FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  if (pipe == nullptr) throw std::runtime_error("cannot run: " + command);
  std::string output;
  char chunk[4096];
  size_t got;
  while ((got = fread(chunk, 1, sizeof chunk, pipe)) > 0) {
    output.append(chunk, got);
  }
  if (pclose(pipe) != 0) {
    throw std::runtime_error("'" + command + "' failed: " + output);
  }
  return output;
}

// A network namespace with its loopback device up, deleted with everything
// in it at the end.
class PrivateNetwork {
 public:
  PrivateNetwork() : name_("zelkor-" + std::to_string(getpid())) {
    try {
      shell("ip netns add " + name_);
    } catch (const std::exception& e) {
      throw std::runtime_error(
          std::string("this test makes a network namespace, which needs root "
                      "and iproute2: ") +
          e.what());
    }
    shell(exec() + " ip link set lo up");
    shell(exec() + " sysctl -q -w net.ipv4.tcp_tw_reuse=0");
  }
  ~PrivateNetwork() {
    try {
      shell("ip netns delete " + name_);
    } catch (const std::exception&) {
    }
  }
  std::vector<std::string> prefix() const {
    return {"ip", "netns", "exec", name_};
  }
  std::string exec() const { return "ip netns exec " + name_; }

  // Opens a TCP connection to 127.0.0.1:port from inside the namespace and
  // returns its descriptor.
  int connectInside(int port) const {
    int fd = -1;
    std::thread inside([&] {
      // A thread that enters the namespace leaves the test's own alone.
      const int ns = open(("/run/netns/" + name_).c_str(), O_RDONLY);
      if (ns < 0 || setns(ns, CLONE_NEWNET) != 0) return;
      close(ns);
      fd = socket(AF_INET, SOCK_STREAM, 0);
      sockaddr_in address{};
      address.sin_family = AF_INET;
      address.sin_port = htons(static_cast<uint16_t>(port));
      address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
      if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) !=
          0) {
        close(fd);
        fd = -1;
      }
    });
    inside.join();
    if (fd < 0) throw std::runtime_error("cannot connect inside " + name_);
    return fd;
  }

 private:
  std::string name_;
};

// A server on 127.0.0.1:3306 in a network of its own, and a folder with a
// game database and a config.txt that names it.
class TcpPortsTest : public ::testing::Test {
 protected:
  TcpPortsTest() : server_(serverOptions(network_)) {
    dir_.write("config.txt", "game.db 127.0.0.1:3306 root & webmap\n");
    tool_ = toolOptions({"MYSQL_UNIX_PORT=" + dir_.file("none.sock")});
    tool_.commandPrefix = network_.prefix();
  }
  static PrivateServerOptions serverOptions(const PrivateNetwork& network) {
    PrivateServerOptions options;
    options.tcpAddress = "127.0.0.1";
    options.tcpPort = 3306;
    options.commandPrefix = network.prefix();
    return options;
  }

  PrivateNetwork network_;
  PrivateServer server_;
  ScopedTempDir dir_;
  ToolOptions tool_;
};

int64_t count(const std::string& table, const std::string& socket) {
  return std::stoll(
      query("SELECT COUNT(*) FROM " + table, "webmap", socket).at(0).at(0));
}

TEST_F(TcpPortsTest, BackToBackRunsOfALargeMapBothComplete) {
  constexpr int kSide = 127;
  dir_.write("game.db", plainGameDb(kSide, kSide).bytes());
  for (const char* run : {"first", "second"}) {
    const ToolRun r = runTool(dir_.path(), tool_);
    EXPECT_EQ(0, r.exitCode) << run << " run\n" << r.out;
    EXPECT_EQ(kSide * kSide, count("maphex", server_.socket())) << run;
    EXPECT_EQ(1, count("mapdescription", server_.socket())) << run;
  }
  // Lines of `ss`, one a socket, after a header line.
  const std::string waiting =
      shell(network_.exec() + " ss -tan state time-wait");
  const auto sockets = std::count(waiting.begin(), waiting.end(), '\n') - 1;
  EXPECT_LT(sockets, 100) << "sockets in TIME_WAIT after two runs of "
                          << 2 * kSide * kSide << " statements";
  // The server saw every connection end with its quit command.
  EXPECT_EQ(
      (Rows{{"Aborted_clients", "0"}}),
      query("SHOW GLOBAL STATUS LIKE 'Aborted_clients'", "", server_.socket()));
}

TEST_F(TcpPortsTest, NoFreeLocalPortIsSaidInPlainWords) {
  dir_.write("game.db", plainMap().bytes());
  // One local port, and a connection that holds it.
  shell(network_.exec() +
        " sysctl -q -w net.ipv4.ip_local_port_range='40000 40000'");
  const int holder = network_.connectInside(3306);
  const ToolRun r = runTool(dir_.path(), tool_);
  close(holder);
  EXPECT_EQ(254, r.exitCode);  // -2
  const std::string out =
      withConnectErrorMasked(r.out.substr(r.out.find("isn't localhost...\n")));
  EXPECT_EQ(
      "isn't localhost...\n"
      "Fatal:  Cannot connect to the MySQL server on host '127.0.0.1:3306': "
      "<error>\n"
      "        No local port is free for a new connection: other programs on "
      "this\n"
      "        machine have used them all up in the last minute. Wait a minute "
      "and run\n"
      "        again, or reach a server on this machine through its socket "
      "(host localhost).\n"
      "Press any key to exit...\n",
      out);
}

}  // namespace
