// A server that accepts connections but never answers: the run must not
// wait for ever. It waits for the client library's connect time-out (10 s),
// so this test runs apart from the fast suite.
#include <gtest/gtest.h>

#include "gamedb_builder/game_db_builder.h"
#include "test_support/fake_server_socket.h"
#include "test_support/temp_dir.h"
#include "test_support/tool_runner.h"

namespace {

TEST(SilentServerTest, ServerThatNeverAnswersEndsTheRunWithMinusTwo) {
  ScopedTempDir dir;
  dir.write("game.db", plainGameDb(1, 1).bytes());
  dir.write("config.txt", "game.db localhost root & webmap\n");
  FakeServerSocket server(dir.file("mysql.sock"));
  ToolOptions options = toolOptions({server.env()});
  options.deadline = std::chrono::seconds(60);
  const ToolRun run = runTool(dir.path(), options);
  EXPECT_NE(std::string::npos,
            withConnectErrorMasked(run.out).find(
                "        isn't localhost...\n"
                "Fatal:  Cannot connect to the MySQL server on host "
                "'localhost': <error>\n"
                "Press any key to exit...\n"))
      << run.out;
  EXPECT_EQ(254, run.exitCode);
}

}  // namespace
