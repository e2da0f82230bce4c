// Runs the built tool as a user would: in a working directory of its own,
// without a terminal, and checks its whole standard output and exit status.
#include <gtest/gtest.h>

#include "driver/banner.h"
#include "test_support/temp_dir.h"
#include "test_support/tool_runner.h"

namespace {

const char kChecking[] = "Info:   Checking configuration file...\n\n";
const char kLoading[] =
    "Info:   Opening database and reading data...\n"
    "Info:   Database closed.\n";

TEST(GeneratorStopsTest, MissingConfigurationFile) {
  ScopedTempDir dir;
  const ToolRun run = runTool(dir.path(), {"--ignored", "argument"});
  EXPECT_EQ(bannerText() + kChecking +
                "Fatal:  Configuration file not found!\n"
                "Press any key to exit...\n",
            run.out);
  EXPECT_EQ(97, run.exitCode);  // -99999
}

TEST(GeneratorStopsTest, InvalidConfigurationFile) {
  ScopedTempDir dir;
  dir.write("config.txt", "game.db localhost root & webmap");
  const ToolRun run = runTool(dir.path());
  EXPECT_EQ(bannerText() + kChecking +
                "Fatal:  Configuration file is invalid!\n"
                "Press any key to exit...\n",
            run.out);
  EXPECT_EQ(98, run.exitCode);  // -99998
}

TEST(GeneratorStopsTest, UnreadableGameDatabase) {
  ScopedTempDir dir;
  dir.write("config.txt", "saves/missing.db localhost root & webmap\n");
  const ToolRun run = runTool(dir.path());
  EXPECT_EQ(bannerText() + kChecking + kLoading +
                "Fatal:  Couldn't find Quarrion database!\n"
                "Fatal:  Error (-1) encountered. Shutting down.\n"
                "Path: saves/missing.db\n"
                "\nPress any key to exit...",
            run.out);
  EXPECT_EQ(255, run.exitCode);  // -1
}

}  // namespace

namespace {

TEST(GeneratorRunTest, LoadsTheGameDatabaseAndCompletes) {
  ScopedTempDir dir;
  dir.write("game.db", std::string("\x00\x01\x02", 3));
  dir.write("config.txt", "game.db localhost root & webmap\n");
  const ToolRun run = runTool(dir.path());
  EXPECT_EQ(bannerText() + kChecking + kLoading +
                "Info:   Webmap database generation complete.  Exiting.\n",
            run.out);
  EXPECT_EQ(0, run.exitCode);
}

}  // namespace
