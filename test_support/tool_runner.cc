#include "test_support/tool_runner.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>

extern char** environ;

namespace {

void readBoth(int outFd, int errFd, std::string& out, std::string& err) {
  pollfd fds[2] = {{outFd, POLLIN, 0}, {errFd, POLLIN, 0}};
  int open = 2;
  char chunk[65536];
  while (open > 0) {
    if (poll(fds, 2, -1) < 0) continue;
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || fds[i].revents == 0) continue;
      const ssize_t got = read(fds[i].fd, chunk, sizeof chunk);
      if (got > 0) {
        (i == 0 ? out : err).append(chunk, static_cast<size_t>(got));
      } else {
        close(fds[i].fd);
        fds[i].fd = -1;
        --open;
      }
    }
  }
}

}  // namespace

std::string toolPath() { return ZELKOR_TOOL_PATH; }

ToolRun runTool(const std::string& workingDir,
                const std::vector<std::string>& args,
                const std::vector<std::string>& extraEnv, bool stderrOnTerminal,
                bool asNobody) {
  int outPipe[2];
  int errPipe[2];  // [0] the reading end, [1] the tool's end
  if (pipe(outPipe) != 0) throw std::runtime_error("pipe failed");
  if (stderrOnTerminal) {
    termios raw{};
    cfmakeraw(&raw);
    if (openpty(&errPipe[0], &errPipe[1], nullptr, &raw, nullptr) != 0) {
      throw std::runtime_error("openpty failed");
    }
  } else if (pipe(errPipe) != 0) {
    throw std::runtime_error("pipe failed");
  }
  // Extra entries replace the inherited ones of the same name.
  std::vector<std::string> env = extraEnv;
  for (char** e = environ; *e != nullptr; ++e) {
    const std::string entry = *e;
    const std::string name = entry.substr(0, entry.find('=') + 1);
    bool replaced = false;
    for (const std::string& extra : extraEnv) {
      replaced = replaced || extra.compare(0, name.size(), name) == 0;
    }
    if (!replaced) env.push_back(entry);
  }
  std::vector<char*> envp;
  for (auto& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);
  std::string tool = toolPath();
  std::vector<std::string> argStore = args;
  std::vector<char*> argv{tool.data()};
  for (auto& a : argStore) argv.push_back(a.data());
  argv.push_back(nullptr);

  const pid_t pid = fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) {
    setsid();  // no controlling terminal: /dev/tty cannot be opened
    const int devNull = open("/dev/null", O_RDONLY);
    dup2(devNull, 0);
    dup2(outPipe[1], 1);
    dup2(errPipe[1], 2);
    close(outPipe[0]);
    close(errPipe[0]);
    if (asNobody && getuid() == 0 &&
        (setgid(65534) != 0 || setuid(65534) != 0)) {
      _exit(122);
    }
    if (chdir(workingDir.c_str()) != 0) _exit(120);
    execve(argv[0], argv.data(), envp.data());
    _exit(121);
  }
  close(outPipe[1]);
  close(errPipe[1]);
  ToolRun run;
  readBoth(outPipe[0], errPipe[0], run.out, run.err);
  int status = 0;
  waitpid(pid, &status, 0);
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}
