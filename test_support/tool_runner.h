// Runs the built zelkor-generator executable as a user would, in a chosen
// working directory, and collects what it printed and its exit status.
#ifndef ZELKOR_TEST_SUPPORT_TOOL_RUNNER_H_
#define ZELKOR_TEST_SUPPORT_TOOL_RUNNER_H_

#include <sys/types.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

struct ToolRun {
  std::string out;    // standard output
  std::string err;    // standard error
  int exitCode = -1;  // the low 8 bits a shell sees, or -1 when killed
};

struct ToolOptions {
  std::vector<std::string> args;
  // Environment entries ("NAME=value") added to the tool's, in place of
  // inherited ones of the same name. Unless given here, HOME names an empty
  // folder and MARIADB_HOME is not set, so that the machine's own ~/.my.cnf
  // does not reach the tool, and MYSQL_HOME a folder whose my.cnf names the
  // socket in MYSQL_UNIX_PORT (this entry's, else the test's; for a Linux
  // program): the system's option files name the system server's socket,
  // and an option file goes before MYSQL_UNIX_PORT. A MYSQL_HOME given here
  // gets that my.cnf too, unless the test wrote one there.
  std::vector<std::string> env;
  // Standard error is a pseudo-terminal (still not the controlling one) and
  // ToolRun::err holds what was written to it.
  bool stderrOnTerminal = false;
  // The program gets a pseudo-terminal as its controlling terminal (as when
  // started by hand in a terminal); nobody types on it. Standard input and
  // output stay as they are.
  bool controllingTerminal = false;
  // Run without root's power over files: a tool started by root runs as the
  // user nobody with no supplementary groups, so that file permissions
  // apply; any other user is such a user already.
  bool withoutRoot = false;
  // The program to run: the generator unless set (mapPagePath() for the map
  // page).
  std::string program;
  // Words put before the program's path, such as "ip netns exec NAME".
  std::vector<std::string> commandPrefix;
  // A run still going then is killed, and the test fails saying so.
  std::chrono::seconds deadline{120};
  // Standard output goes to this file (made anew), as with "> log.txt",
  // not to ToolRun::out.
  std::string outputFile;
  // Called with the tool's process id once it has started (from the thread
  // that runs it).
  std::function<void(pid_t)> onStart;
};

// Options with these environment entries and arguments, the rest as above.
ToolOptions toolOptions(std::vector<std::string> env,
                        std::vector<std::string> args = {});

// out with the client library's error text in "Fatal:  Cannot connect to the
// MySQL server on host '...': <error>" replaced by "<error>": its wording is
// the library's and changes with it.
std::string withConnectErrorMasked(const std::string& out);

// Paths of the programs under test: the Linux build's, or, when the
// environment variable ZELKOR_WINDOWS_PROGRAMS names a folder, the Windows
// programs in it, which runTool starts through Wine (their CR LF line ends
// checked and read as LF; the exit status is the low 8 bits, as on Linux).
std::string toolPath();
std::string mapPagePath();

// The programs under test are the Windows ones (ZELKOR_WINDOWS_PROGRAMS).
bool testingWindowsPrograms();

// A whole path of this machine as the programs under test show it: as it
// is on Linux; under Wine on drive Z: with backslashes ("Z:\\tmp\\x").
std::string pathAsShown(const std::string& path);

// The option file that a test writes in the folder it names in both HOME
// and MYSQL_HOME: ".my.cnf", read from HOME on Linux; for the Windows
// programs "my.cnf", read from MYSQL_HOME (their client library reads no
// file in HOME).
std::string userOptionFile();

// The host part of an account that the programs under test log in to over
// "localhost": the local socket's "localhost" on Linux; the Windows programs
// come over TCP, from 127.0.0.1.
std::string toolLoginHost();

// Runs the tool in workingDir in a new session without a terminal (unless
// options.controllingTerminal) and with standard input from /dev/null, so
// that a key wait ends at once.
ToolRun runTool(const std::string& workingDir, const ToolOptions& options = {});

#endif  // ZELKOR_TEST_SUPPORT_TOOL_RUNNER_H_
