// The warning for a config.txt that holds the MySQL password where other
// users may read it: on standard error only, so that the console lines stay
// as they are.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "test_support/temp_dir.h"
#include "test_support/tool_runner.h"

namespace {

TEST(PasswordFileTest, WarnsWhenOthersMayReadThePassword) {
  const struct {
    const char* name;
    mode_t mode;
    const char* password;
    bool warned;
  } kCases[] = {
      {"0644 with a password", 0644, "secret", true},
      {"0640 with a password", 0640, "secret", true},
      {"0600 with a password", 0600, "secret", false},
      {"0644 without a password", 0644, "&", false},
  };
  std::string firstOut;
  // One folder for all: the stop names it.
  ScopedTempDir dir;
  for (const auto& c : kCases) {
    // No game database: the run stops right after the configuration.
    dir.write("config.txt", std::string("missing.db localhost root ") +
                                c.password + " webmap\n");
    chmod(dir.file("config.txt").c_str(), c.mode);
    const ToolRun run = runTool(dir.path());
    EXPECT_EQ(c.warned ? "Warning: config.txt holds the MySQL password and "
                         "other users may read it. Make it private with: "
                         "chmod 600 config.txt\n"
                       : "",
              run.err)
        << c.name;
    EXPECT_EQ(255, run.exitCode) << c.name;
    if (firstOut.empty()) firstOut = run.out;
    EXPECT_EQ(firstOut, run.out) << c.name << ": standard output unchanged";
  }
}

}  // namespace
