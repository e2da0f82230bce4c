// Faults while the tool writes the webmap: the server going away in the
// middle of the upload, and a server that rejects single statements.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "gamedb_builder/game_db_builder.h"
#include "test_support/private_server.h"
#include "test_support/temp_dir.h"
#include "test_support/test_server.h"
#include "test_support/tool_runner.h"

namespace {

const char kComplete[] =
    "Info:   Webmap database generation complete.  Exiting.\n";

// The maphex rows on the server at socket; 0 while the webmap database or
// its table is not there yet. Any other failure (a broken server) ends the
// test.
int64_t hexRows(const std::string& socket) {
  try {
    const Rows rows = query("SELECT COUNT(*) FROM maphex", "webmap", socket);
    return std::stoll(rows.at(0).at(0));
  } catch (const ServerError& e) {
    if (e.number() == 1049 || e.number() == 1146) return 0;
    throw;
  }
}

// The rows of the webmap on the server at socket whose economy is economy.
int64_t rowsWithEconomy(const std::string& socket, int economy) {
  return std::stoll(query("SELECT COUNT(*) FROM maphex WHERE "
                          "BaseEconomicPoints = " +
                              std::to_string(economy),
                          "webmap", socket)
                        .at(0)
                        .at(0));
}

// The server goes away during an update run and stays away: the stop says
// how many hexes hold the new turn, which is what the webmap then holds,
// and the next run writes every hex.
TEST(WebmapFaultsTest, ServerStoppingMidUploadEndsWithMinusTwoThenRecovers) {
  PrivateServer server;
  ScopedTempDir dir;
  constexpr int kSide = 127;  // long enough an upload to stop in the middle
  constexpr int kHexes = kSide * kSide;
  dir.write("game.db", plainGameDb(kSide, kSide).bytes());
  dir.write("config.txt", "game.db localhost root & webmap\n");
  ASSERT_EQ(0, runTool(dir.path(), toolOptions({server.env()})).exitCode);

  // The next turn: every hex has a new economy.
  dir.write("game.db", gameDbWithMap(kSide, kSide, [](int i) {
                         HexValues f = plainHex(i, kSide);
                         f.economy = 9;
                         return f;
                       }).bytes());
  ToolRun interrupted;
  std::thread tool(
      [&] { interrupted = runTool(dir.path(), toolOptions({server.env()})); });
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (rowsWithEconomy(server.socket(), 9) < 500 &&
         std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  server.kill();
  tool.join();
  EXPECT_EQ(254, interrupted.exitCode) << interrupted.out;  // -2
  // It waited for the server to come back, for 30 s, then gave up.
  EXPECT_NE(std::string::npos,
            interrupted.out.find("Info:   Waiting for the MySQL server: "))
      << interrupted.out;
  EXPECT_NE(std::string::npos,
            interrupted.out.find("Fatal:  Cannot connect to the MySQL server "
                                 "on host 'localhost': "))
      << interrupted.out;
  EXPECT_EQ(std::string::npos, interrupted.out.find(kComplete));
  // "This run had written N of 16129 hexes when ..."
  const std::string written = "        This run had written ";
  const size_t at = interrupted.out.find(written);
  ASSERT_NE(std::string::npos, at) << interrupted.out;
  const int64_t n = std::stoll(interrupted.out.substr(at + written.size()));
  EXPECT_EQ(at, interrupted.out.find(written + std::to_string(n) +
                                     " of 16129 hexes when it could no longer "
                                     "connect:"))
      << interrupted.out;
  EXPECT_NE(std::string::npos,
            interrupted.out.find("the webmap now mixes this turn and the "
                                 "last"))
      << interrupted.out;
  const std::string prompt = "Press any key to exit...\n";
  ASSERT_GE(interrupted.out.size(), prompt.size());
  EXPECT_EQ(prompt,
            interrupted.out.substr(interrupted.out.size() - prompt.size()));

  server.start();
  // Those hexes hold the new turn; a statement whose answer the kill cut
  // off may have been written too.
  const int64_t newTurn = rowsWithEconomy(server.socket(), 9);
  EXPECT_TRUE(newTurn == n || newTurn == n + 1) << newTurn << " vs " << n;
  EXPECT_LT(n, kHexes);
  EXPECT_EQ(kHexes, hexRows(server.socket()));
  const ToolRun next = runTool(dir.path(), toolOptions({server.env()}));
  EXPECT_EQ(0, next.exitCode) << next.out;
  EXPECT_NE(std::string::npos,
            next.out.find("Info:   Current webmap database appears valid.\n"));
  EXPECT_EQ(kHexes, rowsWithEconomy(server.socket(), 9));
  EXPECT_EQ((Rows{{"777777", "127", "127"}}),
            query("SELECT ID, Width, Height FROM mapdescription", "webmap",
                  server.socket()));
}

TEST(WebmapFaultsTest, RejectedUpdateLeavesTheOtherRowsWrittenAndFails) {
  const std::string database = uniqueName("webmap");
  ScopedTempDir dir;
  dir.write("game.db", plainGameDb(2, 3).bytes());
  dir.write("config.txt", "game.db localhost root & " + database + "\n");
  ASSERT_EQ(0, runTool(dir.path()).exitCode);

  // Between turns, every hex gets a new economy; a web page has locked hex 3.
  dir.write("game.db", gameDbWithMap(2, 3, [](int i) {
                         HexValues f = plainHex(i, 3);
                         f.economy = 9;
                         return f;
                       }).bytes());
  execute(
      "CREATE TRIGGER hex_locked BEFORE UPDATE ON maphex FOR EACH ROW "
      "BEGIN IF NEW.ID = 3 THEN SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = "
      "'hex 3 is locked'; END IF; END",
      database);
  const ToolRun r = runTool(dir.path());
  const Rows economy =
      query("SELECT ID, BaseEconomicPoints FROM maphex ORDER BY ID", database);
  execute("DROP DATABASE `" + database + "`");

  EXPECT_EQ((Rows{{"0", "9"},
                  {"1", "9"},
                  {"2", "9"},
                  {"3", "3"},
                  {"4", "9"},
                  {"5", "9"}}),
            economy);
  EXPECT_EQ(252, r.exitCode) << r.out;  // -4
  EXPECT_NE(std::string::npos,
            r.out.find("Info:   Current webmap database appears valid.\n"
                       "Info:   Error updating!\n" +
                       std::string(kComplete) +
                       "Fatal:  1 statement failed on the MySQL server; the "
                       "webmap is incomplete. First failure: hex 3 is locked "
                       "(in: UPDATE maphex SET X='0', Y='1', "))
      << r.out;
}

}  // namespace
