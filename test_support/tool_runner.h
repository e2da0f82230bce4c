// Runs the built zelkor-generator executable as a user would, in a chosen
// working directory, and collects what it printed and its exit status.
#ifndef ZELKOR_TEST_SUPPORT_TOOL_RUNNER_H_
#define ZELKOR_TEST_SUPPORT_TOOL_RUNNER_H_

#include <string>
#include <vector>

struct ToolRun {
  std::string out;    // standard output
  std::string err;    // standard error
  int exitCode = -1;  // the low 8 bits a shell sees, or -1 when killed
};

// Path of the tool under test.
std::string toolPath();

// Runs the tool in workingDir in a new session without a terminal and with
// standard input from /dev/null, so that a key wait ends at once.
// Extra environment entries ("NAME=value") are added to the tool's, in place
// of inherited ones of the same name.
// With stderrOnTerminal, standard error is a pseudo-terminal (still not the
// controlling one) and err holds what was written to it. With asNobody, a
// tool started by root runs as the user nobody, to whom file permissions
// apply.
ToolRun runTool(const std::string& workingDir,
                const std::vector<std::string>& args = {},
                const std::vector<std::string>& extraEnv = {},
                bool stderrOnTerminal = false, bool asNobody = false);

#endif  // ZELKOR_TEST_SUPPORT_TOOL_RUNNER_H_
