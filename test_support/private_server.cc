#include "test_support/private_server.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <stdexcept>
#include <thread>
#include <vector>

#include "test_support/test_server.h"

namespace {

pid_t spawn(std::vector<std::string> argv, const std::string& log) {
  const pid_t pid = fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) {
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

PrivateServer::PrivateServer() : socket_(dir_.file("mysqld.sock")) {
  const pid_t install =
      spawn({"mariadb-install-db", "--no-defaults",
             "--datadir=" + dir_.file("data"), "--user=root",
             "--auth-root-authentication-method=normal", "--skip-test-db"},
            dir_.file("install.log"));
  int status = 0;
  waitpid(install, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    throw std::runtime_error("mariadb-install-db failed: " +
                             readWholeFile(dir_.file("install.log")));
  }
  start();
}

PrivateServer::~PrivateServer() { kill(); }

void PrivateServer::start() {
  pid_ = spawn(
      {"mariadbd", "--no-defaults", "--datadir=" + dir_.file("data"),
       "--socket=" + socket_, "--skip-networking", "--lower-case-table-names=1",
       "--user=root", "--pid-file=" + dir_.file("mysqld.pid"),
       "--innodb-buffer-pool-size=32M", "--skip-log-bin"},
      dir_.file("server.log"));
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
