#include "test_support/tool_runner.h"

#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <iostream>
#include <map>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <utility>

#include "test_support/temp_dir.h"

extern char** environ;

namespace {

constexpr uid_t kNobody = 65534;

// Wine, which runs the Windows programs headless.
constexpr char kWine[] = "/usr/lib/wine/wine64";

bool isWindowsProgram(const std::string& path) {
  return path.size() > 4 && path.compare(path.size() - 4, 4, ".exe") == 0;
}

// A Windows program's lines end with CR LF; the tests compare the texts
// with LF alone. A line that ends without CR fails the test.
std::string withWindowsLineEnds(const std::string& text, const char* stream) {
  std::string lines;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) {
      ADD_FAILURE() << "a line of " << stream << " ends without CR LF: "
                    << text.substr(0, i);
    }
    lines += text[i];
  }
  return lines;
}

// Reads both pipes to their ends. Returns false when the deadline passed
// first (the caller then kills the tool and reads on).
bool readBoth(int outFd, int errFd, std::string& out, std::string& err,
              std::chrono::steady_clock::time_point deadline) {
  pollfd fds[2] = {{outFd, POLLIN, 0}, {errFd, POLLIN, 0}};
  int open = 2;
  char chunk[65536];
  while (open > 0) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    if (poll(fds, 2, static_cast<int>(left.count())) <= 0) continue;
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
  return true;
}

bool setsVariable(const std::vector<std::string>& entries,
                  const std::string& nameAndEquals) {
  for (const std::string& entry : entries) {
    if (entry.compare(0, nameAndEquals.size(), nameAndEquals) == 0) {
      return true;
    }
  }
  return false;
}

// An empty folder for the tool's HOME, for the whole test process.
const std::string& emptyHome() {
  static const ScopedTempDir home;
  return home.path();
}

// Writes folder/my.cnf naming socket, unless a my.cnf is there already.
void nameSocketIn(const std::string& folder, const std::string& socket) {
  const std::string file = folder + "/my.cnf";
  const int fd = open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
  if (fd < 0) return;
  const std::string text = "[client-server]\nsocket=" + socket + "\n";
  (void)!write(fd, text.data(), text.size());
  close(fd);
}

// The folder given to the tool as MYSQL_HOME: empty, or for a Linux program
// with a socket to reach, a my.cnf that names it. The client library, as
// every MySQL client, takes an option file's socket before MYSQL_UNIX_PORT,
// and Debian's own /etc/mysql/mariadb.cnf names the system server's; this
// file, read after it, names the test's server. One folder per socket, for
// the whole test process.
const std::string& optionHomeFor(const std::string& socket) {
  static std::mutex guard;
  static std::map<std::string, std::unique_ptr<ScopedTempDir>> homes;
  if (socket.empty()) return emptyHome();
  const std::lock_guard<std::mutex> lock(guard);
  std::unique_ptr<ScopedTempDir>& home = homes[socket];
  if (!home) {
    home = std::make_unique<ScopedTempDir>();
    nameSocketIn(home->path(), socket);
  }
  return home->path();
}

// The value of the entry NAME= in entries, or nullptr.
const std::string* valueIn(const std::vector<std::string>& entries,
                           const std::string& nameAndEquals) {
  for (const std::string& entry : entries) {
    if (entry.compare(0, nameAndEquals.size(), nameAndEquals) == 0) {
      return &entry;
    }
  }
  return nullptr;
}

// The tool's environment: ours, with the extra entries in place of inherited
// ones of the same name, and without the machine's option file folders.
std::vector<std::string> environmentWith(
    const std::vector<std::string>& extra, bool windowsProgram) {
  std::vector<std::string> env = extra;
  if (!setsVariable(extra, "HOME=")) env.push_back("HOME=" + emptyHome());
  std::string socket;
  if (const std::string* entry = valueIn(extra, "MYSQL_UNIX_PORT=")) {
    socket = entry->substr(std::string("MYSQL_UNIX_PORT=").size());
  } else if (const char* inherited = std::getenv("MYSQL_UNIX_PORT")) {
    socket = inherited;
  }
  if (windowsProgram) socket.clear();
  if (const std::string* entry = valueIn(extra, "MYSQL_HOME=")) {
    // A folder of the test's own, with its own option files: my.cnf there
    // names the socket unless the test wrote one.
    if (!socket.empty()) {
      nameSocketIn(entry->substr(std::string("MYSQL_HOME=").size()), socket);
    }
  } else {
    env.push_back("MYSQL_HOME=" + optionHomeFor(socket));
  }
  for (char** e = environ; *e != nullptr; ++e) {
    const std::string entry = *e;
    const std::string name = entry.substr(0, entry.find('=') + 1);
    if (!setsVariable(env, name) &&
        (name != "MARIADB_HOME=" || setsVariable(extra, name))) {
      env.push_back(entry);
    }
  }
  return env;
}

std::vector<char*> pointersTo(std::vector<std::string>& words) {
  std::vector<char*> pointers;
  for (auto& w : words) pointers.push_back(w.data());
  pointers.push_back(nullptr);
  return pointers;
}

}  // namespace

ToolOptions toolOptions(std::vector<std::string> env,
                        std::vector<std::string> args) {
  ToolOptions options;
  options.env = std::move(env);
  options.args = std::move(args);
  return options;
}

std::string withConnectErrorMasked(const std::string& out) {
  const std::string head =
      "Fatal:  Cannot connect to the MySQL server on host '";
  const size_t start = out.find(head);
  if (start == std::string::npos) return out;
  const size_t error = out.find("': ", start + head.size());
  const size_t end = out.find('\n', error);
  if (error == std::string::npos || end == std::string::npos) return out;
  return out.substr(0, error + 3) + "<error>" + out.substr(end);
}

const char* windowsProgramsFolder() {
  const char* folder = std::getenv("ZELKOR_WINDOWS_PROGRAMS");
  return folder != nullptr && *folder != '\0' ? folder : nullptr;
}

bool testingWindowsPrograms() { return windowsProgramsFolder() != nullptr; }

std::string pathAsShown(const std::string& path) {
  if (!testingWindowsPrograms()) return path;
  std::string shown = "Z:" + path;
  for (char& c : shown) {
    if (c == '/') c = '\\';
  }
  return shown;
}

std::string userOptionFile() {
  return windowsProgramsFolder() != nullptr ? "my.cnf" : ".my.cnf";
}

std::string toolLoginHost() {
  return windowsProgramsFolder() != nullptr ? "127.0.0.1" : "localhost";
}

std::string toolPath() {
  if (const char* windows = windowsProgramsFolder()) {
    return std::string(windows) + "/zelkor-generator.exe";
  }
  return ZELKOR_TOOL_PATH;
}

std::string mapPagePath() {
  if (const char* windows = windowsProgramsFolder()) {
    return std::string(windows) + "/zelkor-map-page.exe";
  }
  return ZELKOR_MAP_PAGE_PATH;
}

namespace {

// One run of command (the program's words, any prefix before them).
ToolRun runOnce(const std::string& workingDir, const ToolOptions& options,
                const std::vector<std::string>& command, bool windows) {
  int outPipe[2];
  int errPipe[2];  // [0] the reading end, [1] the tool's end
  if (pipe(outPipe) != 0) throw std::runtime_error("pipe failed");
  if (options.stderrOnTerminal) {
    termios raw{};
    cfmakeraw(&raw);
    if (openpty(&errPipe[0], &errPipe[1], nullptr, &raw, nullptr) != 0) {
      throw std::runtime_error("openpty failed");
    }
  } else if (pipe(errPipe) != 0) {
    throw std::runtime_error("pipe failed");
  }
  std::vector<std::string> env = environmentWith(options.env, windows);
  std::vector<char*> envp = pointersTo(env);
  std::vector<std::string> words = command;
  std::vector<char*> argv = pointersTo(words);

  int terminal[2] = {-1, -1};  // the pty's master and slave
  if (options.controllingTerminal &&
      openpty(&terminal[0], &terminal[1], nullptr, nullptr, nullptr) != 0) {
    throw std::runtime_error("openpty failed");
  }
  const pid_t pid = fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) {
    setsid();  // no controlling terminal: /dev/tty cannot be opened
    if (options.controllingTerminal) {
      if (ioctl(terminal[1], TIOCSCTTY, 0) != 0) _exit(123);
      close(terminal[0]);
      close(terminal[1]);
    }
    const int devNull = open("/dev/null", O_RDONLY);
    dup2(devNull, 0);
    if (options.outputFile.empty()) {
      dup2(outPipe[1], 1);
    } else {
      const int file = open(options.outputFile.c_str(),
                            O_WRONLY | O_CREAT | O_TRUNC, 0644);
      if (file < 0) _exit(124);
      dup2(file, 1);
    }
    close(outPipe[1]);
    dup2(errPipe[1], 2);
    close(outPipe[0]);
    close(errPipe[0]);
    if (options.withoutRoot && getuid() == 0 &&
        (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 ||
         setuid(kNobody) != 0)) {
      _exit(122);
    }
    if (chdir(workingDir.c_str()) != 0) _exit(120);
    // The prefix, if any, is found on the PATH; the tool is a path.
    execvpe(argv[0], argv.data(), envp.data());
    _exit(121);
  }
  close(outPipe[1]);
  close(errPipe[1]);
  if (terminal[1] >= 0) close(terminal[1]);
  if (options.onStart) options.onStart(pid);
  ToolRun run;
  const auto deadline = std::chrono::steady_clock::now() + options.deadline;
  if (!readBoth(outPipe[0], errPipe[0], run.out, run.err, deadline)) {
    kill(-pid, SIGKILL);  // the tool leads its own session
    ADD_FAILURE() << "the tool was still running after "
                  << options.deadline.count()
                  << " s and was killed; its output so far:\n"
                  << run.out;
    readBoth(outPipe[0], errPipe[0], run.out, run.err,
             std::chrono::steady_clock::now() + std::chrono::seconds(10));
  }
  int status = 0;
  waitpid(pid, &status, 0);
  if (terminal[0] >= 0) close(terminal[0]);
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

}  // namespace

ToolRun runTool(const std::string& workingDir, const ToolOptions& options) {
  const std::string program =
      options.program.empty() ? toolPath() : options.program;
  const bool windows = isWindowsProgram(program);
  std::vector<std::string> command = options.commandPrefix;
  if (windows) command.push_back(kWine);
  command.push_back(program);
  command.insert(command.end(), options.args.begin(), options.args.end());
  ToolRun run = runOnce(workingDir, options, command, windows);
  // Both programs write a line before they end, however they end: a Windows
  // program that wrote nothing at all was not started by Wine (which on a
  // busy machine now and then gives up on a start, saying so on standard
  // error). It is started once more, and the test says so.
  if (!windows) return run;
  // A script (Wine's cmd running one) may stop with words on standard error
  // alone: for it, only a run that wrote nothing at all counts as not
  // started.
  const bool ourProgram = program == toolPath() || program == mapPagePath();
  if (options.outputFile.empty() && run.out.empty() && run.exitCode != 0 &&
      (ourProgram || run.err.empty())) {
    std::cerr << "Wine did not start " << program << " (status "
              << run.exitCode << "): " << run.err << "starting it again\n";
    run = runOnce(workingDir, options, command, windows);
  }
  run.out = withWindowsLineEnds(run.out, "standard output");
  run.err = withWindowsLineEnds(run.err, "standard error");
  return run;
}
