// The key wait of a fatal stop, seen through a pseudo-terminal that is the
// tool's controlling terminal.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>

#include "test_support/temp_dir.h"
#include "test_support/tool_runner.h"

namespace {

const char kPrompt[] = "Press any key to exit...\n";

class KeyWaitTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(0, openpty(&master_, &slave_, nullptr, nullptr, nullptr));
    stdinPath_ = dir_.write("keys.txt", "yyyy\n");
  }
  void TearDown() override {
    if (pid_ > 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    close(master_);
    close(slave_);
    if (outPipe_[0] >= 0) close(outPipe_[0]);
  }

  // Starts the tool (no config.txt: a fatal stop) with the pty as its
  // terminal and its standard output on a pipe; its standard input is the
  // terminal, as for a person who started it there, or a file that holds
  // keys of its own, as a script gives it.
  void start(bool inputFromTerminal = true) {
    if (outPipe_[0] >= 0) close(outPipe_[0]);
    ASSERT_EQ(0, pipe(outPipe_));
    pid_ = fork();
    ASSERT_GE(pid_, 0);
    if (pid_ == 0) {
      setsid();
      ioctl(slave_, TIOCSCTTY, 0);
      const int in =
          inputFromTerminal ? slave_ : open(stdinPath_.c_str(), O_RDONLY);
      dup2(in, 0);
      dup2(outPipe_[1], 1);
      close(outPipe_[0]);
      if (chdir(dir_.path().c_str()) != 0) _exit(120);
      const std::string tool = toolPath();
      execl(tool.c_str(), tool.c_str(), static_cast<char*>(nullptr));
      _exit(121);
    }
    close(outPipe_[1]);
  }

  // Reads standard output until it ends with the prompt (or 10 s pass).
  std::string readUntilPrompt() {
    std::string out;
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (out.size() < sizeof kPrompt - 1 ||
           out.compare(out.size() - (sizeof kPrompt - 1), std::string::npos,
                       kPrompt) != 0) {
      if (std::chrono::steady_clock::now() > deadline) break;
      pollfd p{outPipe_[0], POLLIN, 0};
      if (poll(&p, 1, 100) <= 0) continue;
      char chunk[4096];
      const ssize_t got = read(outPipe_[0], chunk, sizeof chunk);
      if (got <= 0) break;
      out.append(chunk, static_cast<size_t>(got));
    }
    return out;
  }

  bool stillRunningAfter(std::chrono::milliseconds pause) {
    std::this_thread::sleep_for(pause);
    return waitpid(pid_, nullptr, WNOHANG) == 0;
  }

  // The tool's exit status, -1 when a signal ended it; a tool still running
  // after 10 s is killed and the test fails.
  int exitCode() {
    int status = 0;
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (waitpid(pid_, &status, WNOHANG) == 0) {
      if (std::chrono::steady_clock::now() > deadline) {
        ADD_FAILURE() << "the tool still waits after 10 s";
        kill(pid_, SIGKILL);
        waitpid(pid_, &status, 0);
        break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  // Whether the terminal is back in line mode with echo and signal keys.
  void expectTerminalRestored(const std::string& after) {
    termios now{};
    ASSERT_EQ(0, tcgetattr(slave_, &now));
    EXPECT_TRUE(now.c_lflag & ICANON) << after << ": no line mode";
    EXPECT_TRUE(now.c_lflag & ECHO) << after << ": no echo";
    EXPECT_TRUE(now.c_lflag & ISIG) << after << ": no signal keys";
  }

  ScopedTempDir dir_;
  std::string stdinPath_;
  int master_ = -1;
  int slave_ = -1;
  int outPipe_[2] = {-1, -1};
  pid_t pid_ = -1;
};

TEST_F(KeyWaitTest, WaitsForOneKeyOnTheTerminalAfterTheWholeText) {
  start();
  const std::string out = readUntilPrompt();
  EXPECT_NE(std::string::npos,
            out.find("Fatal:  Configuration file not found!\n"));
  ASSERT_TRUE(stillRunningAfter(std::chrono::milliseconds(300)))
      << "the tool ended without a key press";
  ASSERT_EQ(1, write(master_, "k", 1));
  EXPECT_EQ(97, exitCode());

  termios after{};
  ASSERT_EQ(0, tcgetattr(slave_, &after));
  EXPECT_TRUE(after.c_lflag & ICANON) << "terminal left without line mode";
  EXPECT_TRUE(after.c_lflag & ECHO) << "terminal left without echo";
}

TEST_F(KeyWaitTest, CursorKeyEndsTheWaitAsOneKey) {
  start();
  readUntilPrompt();
  ASSERT_TRUE(stillRunningAfter(std::chrono::milliseconds(300)));
  ASSERT_EQ(3, write(master_, "\x1b[A", 3));
  EXPECT_EQ(97, exitCode());
}

TEST_F(KeyWaitTest, SignalKeysEndTheWaitLikeAnyKey) {
  const struct {
    const char* name;
    char key;
  } kKeys[] = {{"Ctrl-C", '\x03'}, {"Ctrl-\\", '\x1c'}, {"Ctrl-Z", '\x1a'}};
  for (const auto& k : kKeys) {
    start();
    readUntilPrompt();
    ASSERT_TRUE(stillRunningAfter(std::chrono::milliseconds(300))) << k.name;
    ASSERT_EQ(1, write(master_, &k.key, 1));
    EXPECT_EQ(97, exitCode()) << k.name << " is a key like any other";
    expectTerminalRestored(k.name);
  }
}

TEST_F(KeyWaitTest, SignalFromElsewhereStillRestoresTheTerminal) {
  for (int signal : {SIGTERM, SIGHUP, SIGINT}) {
    start();
    readUntilPrompt();
    ASSERT_TRUE(stillRunningAfter(std::chrono::milliseconds(300)));
    kill(pid_, signal);
    EXPECT_EQ(-1, exitCode()) << "ended by signal " << signal;
    expectTerminalRestored("signal " + std::to_string(signal));
  }
}

TEST_F(KeyWaitTest, InputFromAFileEndsAtOnceThoughATerminalIsThere) {
  // A script started from a terminal, its input redirected: nobody is
  // asked, and the keys in the file answer nothing.
  start(/*inputFromTerminal=*/false);
  const std::string out = readUntilPrompt();
  EXPECT_NE(std::string::npos,
            out.find("Fatal:  Configuration file not found!\n"));
  EXPECT_EQ(97, exitCode());
  expectTerminalRestored("input from a file");
}

TEST(KeyWaitWithoutTerminalTest, EndsAtOnce) {
  ScopedTempDir dir;
  // runTool starts the tool in a new session with no terminal; a wait that
  // did not end at once would hang this test.
  const ToolRun run = runTool(dir.path());
  EXPECT_EQ(97, run.exitCode);
}

}  // namespace
