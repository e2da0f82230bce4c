#include "test_support/private_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <stdexcept>
#include <thread>
#include <utility>
#include <vector>

#include "test_support/test_server.h"

namespace {

// The recipe that scripts/with-mariadb uses too.
const std::string kRecipe = ZELKOR_SOURCE_DIR "/scripts/mariadb-server";

// Starts argv in workingDir (empty: this process's own).
pid_t spawn(std::vector<std::string> argv, const std::string& log,
            const std::string& workingDir = "") {
  const pid_t pid = fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) {
    if (!workingDir.empty() && chdir(workingDir.c_str()) != 0) _exit(125);
    if (!freopen(log.c_str(), "a", stdout) ||
        !freopen(log.c_str(), "a", stderr)) {
      _exit(126);
    }
    setenv("PATH", "/usr/sbin:/usr/bin:/sbin:/bin", 1);
    std::vector<char*> args;
    for (auto& a : argv) args.push_back(a.data());
    args.push_back(nullptr);
    execvp(args[0], args.data());
    _exit(127);
  }
  return pid;
}

}  // namespace

int freeLoopbackPort(int family) {
  const int fd = socket(family, SOCK_STREAM, 0);
  sockaddr_storage address{};
  socklen_t length =
      family == AF_INET ? sizeof(sockaddr_in) : sizeof(sockaddr_in6);
  if (family == AF_INET) {
    auto* v4 = reinterpret_cast<sockaddr_in*>(&address);
    v4->sin_family = AF_INET;
    v4->sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  } else {
    auto* v6 = reinterpret_cast<sockaddr_in6*>(&address);
    v6->sin6_family = AF_INET6;
    v6->sin6_addr = in6addr_loopback;
  }
  if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
      getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    throw std::runtime_error("no free loopback port");
  }
  close(fd);
  return ntohs(family == AF_INET
                   ? reinterpret_cast<sockaddr_in*>(&address)->sin_port
                   : reinterpret_cast<sockaddr_in6*>(&address)->sin6_port);
}

PrivateServerOptions onLoopbackTcp() {
  PrivateServerOptions options;
  options.tcpAddress = "127.0.0.1";
  options.tcpPort = freeLoopbackPort();
  return options;
}

namespace {

// The parent folder of path, and path's last part.
std::pair<std::string, std::string> splitPath(const std::string& path) {
  const size_t slash = path.rfind('/');
  return {path.substr(0, slash), path.substr(slash + 1)};
}

}  // namespace

PrivateServer::PrivateServer(PrivateServerOptions options)
    : options_(std::move(options)), socket_(dir_.file("mysqld.sock")) {
  const auto [parent, name] = splitPath(dir_.path());
  const pid_t install =
      options_.relativePaths
          ? spawn({kRecipe, "install", name}, dir_.file("install.log"), parent)
          : spawn({kRecipe, "install", dir_.path()}, dir_.file("install.log"));
  int status = 0;
  waitpid(install, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    throw std::runtime_error("mariadb-install-db failed: " +
                             readWholeFile(dir_.file("install.log")));
  }
  start();
  if (!options_.tcpAddress.empty()) {
    // root@localhost is the socket's; TCP logins come from the address.
    execute("CREATE USER IF NOT EXISTS 'root'@'" + options_.tcpAddress + "'",
            "", socket_);
    execute("GRANT ALL ON *.* TO 'root'@'" + options_.tcpAddress +
                "' WITH GRANT OPTION",
            "", socket_);
  }
}

PrivateServer::~PrivateServer() { kill(); }

void PrivateServer::start() {
  // The recipe becomes mariadbd, so pid_ is the server's own.
  std::vector<std::string> command = options_.commandPrefix;
  const auto [parent, name] = splitPath(dir_.path());
  const bool relative = options_.relativePaths;
  for (const std::string& word : std::vector<std::string>{
           kRecipe, "run", relative ? name : dir_.path(),
           relative ? name + "/mysqld.sock" : socket_,
           "--lower-case-table-names=" +
               std::to_string(options_.lowerCaseTableNames)}) {
    command.push_back(word);
  }
  for (const std::string& option : options_.serverOptions) {
    command.push_back(option);
  }
  if (options_.tcpAddress.empty()) {
    command.push_back("--skip-networking");
  } else {
    command.push_back("--bind-address=" + options_.tcpAddress);
    command.push_back("--port=" + std::to_string(options_.tcpPort));
  }
  pid_ = spawn(command, dir_.file("server.log"), relative ? parent : "");
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (std::chrono::steady_clock::now() < deadline) {
    try {
      query("SELECT 1", "", socket_);
      return;
    } catch (const std::exception&) {
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
  }
  throw std::runtime_error("private MariaDB did not start: " +
                           readWholeFile(dir_.file("server.log")));
}

void PrivateServer::kill() {
  if (pid_ <= 0) return;
  ::kill(pid_, SIGKILL);
  waitpid(pid_, nullptr, 0);
  pid_ = -1;
}
