// single-connection in the tool's option group: one connection carries the
// run, the upload goes in batches and in one transaction. The statements are
// those of the default way, in its order; failed statements still give
// their lines; a run cut short leaves the last turn whole.
#include <gtest/gtest.h>
#include <signal.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <set>
#include <sstream>
#include <thread>

#include "gamedb_builder/game_db_builder.h"
#include "test_support/private_server.h"
#include "test_support/tcp_proxy.h"
#include "test_support/temp_dir.h"
#include "test_support/test_server.h"
#include "test_support/tool_runner.h"
#include "test_support/webmap_run_fixture.h"
#include "webmap/webmap_tables.h"

namespace {

constexpr char kErrorUpdating[] = "Info:   Error updating!\n";

// The statements a user's connections sent, each batch taken apart, without
// the transaction's own; and how many connections they came on. The server
// logs a statement sent alone without its closing semicolon, and a batch
// as it came: the semicolons are left out here.
struct Sent {
  std::vector<std::string> statements;
  std::set<std::string> connections;
};

Sent sentBy(const std::string& user, const std::string& socket) {
  Sent sent;
  for (const LoggedStatement& logged : loggedStatements(user, socket)) {
    if (logged.command != "Query") continue;
    sent.connections.insert(logged.connection);
    std::istringstream lines(logged.argument);
    for (std::string line; std::getline(lines, line);) {
      if (line == "START TRANSACTION" || line == "COMMIT") continue;
      if (!line.empty() && line.back() == ';') line.pop_back();
      sent.statements.push_back(line);
    }
  }
  return sent;
}

class SingleConnectionTest : public WebmapRunTest {
 protected:
  void SetUp() override {
    WebmapRunTest::SetUp();
    home_.write(userOptionFile(), "[zelkor-generator]\nsingle-connection\n");
  }
  std::vector<std::string> withOption() {
    return {"HOME=" + home_.path(), "MYSQL_HOME=" + home_.path()};
  }
  ToolRun runWithOption() { return run(withOption()); }
  int64_t count(const std::string& where) {
    return std::stoll(query("SELECT COUNT(*) FROM maphex WHERE " + where,
                            database_, socket_)
                          .at(0)
                          .at(0));
  }
  ScopedTempDir home_;
};

// The same two runs, a first and an update run of a 30 x 30 map (two
// batches each), by two new users: one the default way, one with the
// option.
TEST_F(SingleConnectionTest, SendsTheDefaultWaysStatementsOnOneConnection) {
  writeGameDb(plainGameDb(30, 30));
  startGeneralLog();
  std::vector<Sent> sent;
  for (bool option : {false, true}) {
    const std::string user = createUser(option ? "single" : "default", "");
    execute("GRANT ALL PRIVILEGES ON *.* TO '" + user + "'@'" + toolLoginHost() + "'");
    configure(user, "&");
    execute("DROP DATABASE IF EXISTS " + quoteIdentifier(database_));
    for (int turn = 0; turn < 2; ++turn) {
      const ToolRun r = option ? runWithOption() : run();
      EXPECT_EQ(turn == 0 ? kFirstRunLines : kUpdateRunLines,
                outputAfterBanner(r))
          << "option " << option << ", turn " << turn;
      EXPECT_EQ(0, r.exitCode);
    }
    sent.push_back(sentBy(user, socket_));
  }
  // Each run sends the 900 hexes' statements and its checks.
  ASSERT_GT(sent[0].statements.size(), 1800u);
  EXPECT_EQ(sent[0].statements, sent[1].statements);
  EXPECT_EQ(sent[0].statements.size(), sent[0].connections.size())
      << "the default way: a connection a statement";
  EXPECT_EQ(2u, sent[1].connections.size()) << "one connection a run";
}

// Two hexes share X and Y in an INSERT run: the second's INSERT fails in
// the middle of its batch, the rest of the batch goes on, and the run ends
// as the default way's does.
TEST_F(SingleConnectionTest, FailedStatementsInABatchEachGiveTheirLine) {
  writeGameDb(gameDbWithMap(20, 30, [](int i) {
    HexValues f = plainHex(i, 30);
    if (i == 250 || i == 251) f.x = f.y = 0;  // both where hex 0 is
    return f;
  }));
  const ToolRun r = runWithOption();
  EXPECT_EQ(252, r.exitCode) << r.out;  // -4
  EXPECT_EQ(2u, occurrences(r.out, kErrorUpdating)) << r.out;
  EXPECT_NE(std::string::npos,
            r.out.find("Fatal:  2 statements failed on the MySQL server; the "
                       "webmap is incomplete. First failure: Duplicate entry"))
      << r.out;
  EXPECT_EQ(598, count("1"));
  EXPECT_EQ(0, count("ID IN (250, 251)"));
  // The next run rebuilds, as after the default way.
  writeGameDb(plainGameDb(20, 30));
  const ToolRun next = runWithOption();
  EXPECT_EQ(0, next.exitCode) << next.out;
  EXPECT_EQ(600, count("1"));
}

// An account that may not update: every UPDATE of the update run fails with
// a line of its own.
TEST_F(SingleConnectionTest, MissingPrivilegeFailsEveryStatementWithItsLine) {
  writeGameDb(plainGameDb(10, 10));
  ASSERT_EQ(0, runWithOption().exitCode);
  const std::string user = createUser("noupdate", "");
  execute("GRANT SELECT, INSERT, DELETE ON " + quoteIdentifier(database_) +
          ".* TO '" + user + "'@'" + toolLoginHost() + "'");
  configure(user, "&");
  const ToolRun r = runWithOption();
  EXPECT_EQ(252, r.exitCode) << r.out;
  // 100 hexes and the map description row.
  EXPECT_EQ(101u, occurrences(r.out, kErrorUpdating)) << r.out;
}

// Behind a proxy that does not pass on several statements at once, the
// first batch fails to parse: its first statement is sent again alone, and
// from then on every statement goes alone, said in one line.
TEST(SingleConnectionProxyTest, BatchesRefusedFallBackToOneStatementAtATime) {
  const PrivateServerOptions serverOptions = onLoopbackTcp();
  PrivateServer server(serverOptions);
  TcpProxy proxy(serverOptions.tcpPort);
  proxy.refuseMultiStatements();
  ScopedTempDir dir, home;
  home.write(userOptionFile(), "[zelkor-generator]\nsingle-connection\n");
  dir.write("game.db", plainGameDb(20, 30).bytes());
  dir.write("config.txt", "game.db 127.0.0.1:" + std::to_string(proxy.port()) +
                              " root & webmap\n");
  const auto options =
      toolOptions({"HOME=" + home.path(), "MYSQL_HOME=" + home.path()});
  const std::string fallback =
      "Info:   The MySQL server takes one statement at a time on this "
      "connection: sending them so.\n";
  for (const std::string& lines : {kFirstRunLines, kUpdateRunLines}) {
    const ToolRun r = runTool(dir.path(), options);
    EXPECT_EQ(0, r.exitCode) << r.out;
    std::string expected = lines;
    // Before the completion line: the fallback is said at the first batch.
    expected.insert(expected.rfind("Info:   Webmap database generation"),
                    fallback);
    EXPECT_EQ(expected, outputAfterBanner(r));
  }
  EXPECT_EQ((Rows{{"600"}}),
            query("SELECT COUNT(*) FROM maphex", "webmap", server.socket()));
}

// A server with a connection limit of one at a time, and one that allows
// a few connections an hour: every run completes.
TEST(SingleConnectionLimitsTest, AccountsWithFewConnectionsCompleteEveryRun) {
  for (const char* limit :
       {" WITH MAX_USER_CONNECTIONS 1", " WITH MAX_CONNECTIONS_PER_HOUR 12"}) {
    PrivateServer server;
    ScopedTempDir dir, home;
    execute("CREATE USER 'webadmin'@'localhost'" + std::string(limit), "",
            server.socket());
    execute("GRANT ALL ON webmap.* TO 'webadmin'@'localhost'", "",
            server.socket());
    home.write(userOptionFile(), "[zelkor-generator]\nsingle-connection\n");
    dir.write("game.db", plainGameDb(30, 30).bytes());
    dir.write("config.txt", "game.db localhost webadmin & webmap\n");
    for (int turn = 0; turn < 4; ++turn) {
      const ToolRun r = runTool(
          dir.path(), toolOptions({server.env(), "HOME=" + home.path(),
                                   "MYSQL_HOME=" + home.path()}));
      EXPECT_EQ(0, r.exitCode) << limit << ", run " << turn << ":\n" << r.out;
    }
    EXPECT_EQ((Rows{{"900"}}), query("SELECT COUNT(*) FROM maphex", "webmap",
                                     server.socket()));
  }
}

// The turn a run of the 127 x 127 map with economy e writes.
GameDbBuilder turnWithEconomy(int economy) {
  return gameDbWithMap(127, 127, [economy](int i) {
    HexValues f = plainHex(i, 127);
    f.economy = static_cast<uint8_t>(economy);
    return f;
  });
}

// A run cut short, by a server that goes away or by a kill, leaves the
// last completed run's turn whole: all 16129 rows with its economy.
TEST(SingleConnectionCutShortTest, LeavesTheLastTurnWhole) {
  for (const bool killTheServer : {true, false}) {
    SCOPED_TRACE(killTheServer ? "server killed" : "run killed");
    PrivateServer server;
    ScopedTempDir dir, home;
    home.write(userOptionFile(), "[zelkor-generator]\nsingle-connection\n");
    dir.write("config.txt", "game.db localhost root & webmap\n");
    const auto options = [&] {
      return toolOptions({server.env(), "HOME=" + home.path(),
                          "MYSQL_HOME=" + home.path()});
    };
    dir.write("game.db", turnWithEconomy(7).bytes());
    ASSERT_EQ(0, runTool(dir.path(), options()).exitCode);
    execute("SET GLOBAL log_output = 'TABLE'", "", server.socket());
    execute("SET GLOBAL general_log = 1", "", server.socket());

    dir.write("game.db", turnWithEconomy(9).bytes());
    std::atomic<pid_t> pid{0};
    ToolOptions o = options();
    o.onStart = [&](pid_t started) { pid = started; };
    ToolRun cut;
    std::thread tool([&] { cut = runTool(dir.path(), o); });
    // Until the upload's first batch has reached the server.
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (std::stoll(query("SELECT COUNT(*) FROM mysql.general_log WHERE "
                            "argument LIKE 'UPDATE maphex%'",
                            "", server.socket())
                          .at(0)
                          .at(0)) == 0 &&
           std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    if (killTheServer) {
      server.kill();
    } else {
      kill(pid, SIGKILL);
    }
    tool.join();
    if (killTheServer) {
      EXPECT_EQ(254, cut.exitCode) << cut.out;  // -2
      EXPECT_NE(std::string::npos,
                cut.out.find("Fatal:  The MySQL server undid this run's "
                             "upload: "))
          << cut.out;
      server.start();
    } else {
      EXPECT_EQ(-1, cut.exitCode);
    }
    EXPECT_EQ((Rows{{"16129", "16129", "0"}}),
              query("SELECT COUNT(*), SUM(BaseEconomicPoints = 7), "
                    "SUM(BaseEconomicPoints = 9) FROM maphex",
                    "webmap", server.socket()));
    EXPECT_EQ((Rows{{"777777", "127", "127"}}),
              query("SELECT ID, Width, Height FROM mapdescription", "webmap",
                    server.socket()));
  }
}

}  // namespace
