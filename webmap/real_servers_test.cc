// The webmap on servers and accounts as users have them: table names
// compared by case, an account with rights on the webmap database only, a
// database that holds more than the webmap, a server on another TCP port,
// and config.txt as Windows Notepad saves it.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>
#include <thread>

#include "test_support/private_server.h"
#include "test_support/temp_dir.h"
#include "test_support/webmap_run_fixture.h"
#include "webmap/webmap_tables.h"

namespace {

// What the stop for a database that holds more than the webmap ends with.
const char kNothingDroppedTail[] =
    "        Nothing was dropped or written. Name a database of the webmap's "
    "own in\n"
    "        config.txt, or move everything else out of '";

// The privileges the README asks for, on the webmap database only.
TEST_F(WebmapRunTest, AccountWithRightsOnTheWebmapDatabaseOnlySuffices) {
  const struct {
    const char* name;
    const char* privileges;
  } kGrants[] = {
      {"the README's grant", "CREATE, DROP, SELECT, INSERT, UPDATE, DELETE"},
      {"all on the webmap database", "ALL"},
  };
  for (const auto& grant : kGrants) {
    const std::string user = createUser("account", "pw");
    execute(std::string("GRANT ") + grant.privileges + " ON " +
            quoteIdentifier(database_) + ".* TO '" + user + "'@'localhost'");
    configure(user, "pw");
    expectFirstRunThenUpdateRun([&] { return run(); }, grant.name);
    EXPECT_EQ(kPlainMapRows, hexes()) << grant.name;
    EXPECT_EQ((Rows{{"777777", "3", "2", "1"}}), description()) << grant.name;
    execute("DROP DATABASE " + quoteIdentifier(database_));
  }
}

// A database that holds more than the webmap is never dropped: the run stops
// before it writes anything, and says what is in the way.
TEST_F(WebmapRunTest, DatabaseHoldingMoreThanTheWebmapIsNeverDropped) {
  const std::string user = createUser("guarded", "");
  execute("GRANT ALL ON *.* TO '" + user + "'@'localhost'");
  configure(user, "&");
  startGeneralLog();

  // A forum's database named by mistake: a table with rows, and more.
  execute("CREATE DATABASE " + quoteIdentifier(database_));
  execute("CREATE TABLE posts (id INT, body TEXT)", database_);
  execute("INSERT INTO posts VALUES (1, 'hello'), (2, 'world')", database_);
  for (const char* table : {"a1", "a2", "a3", "a4", "a5"}) {
    execute(std::string("CREATE TABLE ") + table + " (id INT)", database_);
  }
  execute("CREATE VIEW recent AS SELECT id FROM posts", database_);
  execute("CREATE PROCEDURE tidy() SELECT 1", database_);
  const ToolRun foreign = run();
  EXPECT_EQ(std::string(kBeforeServerWork) + kFound + kFound + kThrownOut +
                "Fatal:  The database '" + database_ +
                "' holds more than the webmap: table 'a1', table 'a2', table "
                "'a3', table 'a4', table 'a5' and 3 more.\n" +
                kNothingDroppedTail + database_ +
                "'.\n"
                "Press any key to exit...\n",
            afterBanner(foreign));
  EXPECT_EQ(252, foreign.exitCode);  // -4
  EXPECT_EQ((Rows{{"1", "hello"}, {"2", "world"}}),
            query("SELECT * FROM posts ORDER BY id", database_));

  // A webmap with a table of a web page's beside it, and a map that changed
  // size: the old webmap stays as it was, beside the page's table.
  execute("DROP DATABASE " + quoteIdentifier(database_));
  ASSERT_EQ(0, run().exitCode);
  execute("CREATE TABLE Comments (hex INT, said TEXT)", database_);
  execute("INSERT INTO Comments VALUES (4, 'mine')", database_);
  writeGameDb(plainGameDb(3, 3));
  const ToolRun grown = run();
  EXPECT_EQ(std::string(kBeforeServerWork) + kFound + kThrownOut +
                "Fatal:  The database '" + database_ +
                "' holds more than the webmap: table 'Comments'.\n" +
                kNothingDroppedTail + database_ +
                "'.\n"
                "Press any key to exit...\n",
            afterBanner(grown));
  EXPECT_EQ(252, grown.exitCode);
  EXPECT_EQ(kPlainMapRows, hexes());
  EXPECT_EQ((Rows{{"777777", "3", "2", "1"}}), description());
  EXPECT_EQ((Rows{{"4", "mine"}}), query("SELECT * FROM Comments", database_));

  // Neither stopped run dropped anything or wrote a row.
  int insertsAndUpdates = 0;
  int drops = 0;
  for (const LoggedStatement& s : loggedStatements(user)) {
    if (s.command != "Query") continue;
    insertsAndUpdates += s.argument.rfind("INSERT", 0) == 0 ||
                         s.argument.rfind("UPDATE", 0) == 0;
    drops += s.argument.rfind("DROP", 0) == 0;
  }
  EXPECT_EQ(7, insertsAndUpdates) << "only the one good run's 6 + 1 rows";
  EXPECT_EQ(1, drops) << "only the one good run's first drop";
}

// Without the right to create it, a missing webmap database makes every
// later statement fail with "Unknown database"; the failure the run names is
// the cause, the refused CREATE DATABASE.
TEST_F(WebmapRunTest, FirstFailureNamedIsTheCauseNotAConsequence) {
  const std::string user = createUser("nocreate", "");
  execute("GRANT SELECT, INSERT, UPDATE ON " + quoteIdentifier(database_) +
          ".* TO '" + user + "'@'localhost'");
  configure(user, "&");
  const ToolRun r = run();
  EXPECT_EQ(252, r.exitCode);
  EXPECT_NE(std::string::npos,
            r.out.find("First failure: Access denied for user '" + user +
                       "'@'localhost' to database '" + database_ +
                       "' (in: CREATE DATABASE `" + database_ + "`)\n"))
      << r.out;
  // The database is missing because this run could not make it, not
  // because another client took it away.
  EXPECT_EQ(std::string::npos, r.out.find("Another client")) << r.out;
}

// Another client (here the test, as another run of the tool from another
// folder would) drops the webmap during the upload: every statement after
// it fails with its own line, and the summary says what happened.
TEST_F(WebmapRunTest, WebmapDroppedByAnotherClientIsSaidSo) {
  constexpr int kSide = 30;
  writeGameDb(plainGameDb(kSide, kSide));
  ToolRun cut;
  std::thread tool([&] { cut = run(); });
  waitForHexRows(100);
  execute("DROP DATABASE " + quoteIdentifier(database_));
  tool.join();
  EXPECT_EQ(252, cut.exitCode) << cut.out;  // -4
  // The database or its table was missing, depending on how far the drop
  // had come.
  const size_t first = cut.out.find("First failure: ");
  ASSERT_NE(std::string::npos, first) << cut.out;
  EXPECT_NE(std::string::npos, cut.out.find("(in: INSERT INTO maphex", first))
      << cut.out;
  const size_t another = cut.out.find("        Another client");
  ASSERT_NE(std::string::npos, another) << cut.out;
  EXPECT_TRUE(
      cut.out.substr(another) ==
          "        Another client changed the webmap during this run: the "
          "database or a\n"
          "        table that this run had found or made went missing. Is "
          "another run of\n"
          "        the tool, from another folder or another machine, writing "
          "the same\n"
          "        webmap? Let one run at a time write it (runs from one folder "
          "take turns\n"
          "        by themselves), then run again.\n")
      << cut.out;
}

TEST_F(WebmapRunTest, LookUpThatFailsDropsNothing) {
  // The account may log in but has no right on this database, which
  // somebody else made.
  execute("CREATE DATABASE " + quoteIdentifier(database_));
  execute("CREATE TABLE other (id INT)", database_);
  const std::string user = createUser("blind", "");
  configure(user, "&");
  const ToolRun r = run();
  const std::string out = afterBanner(r);
  EXPECT_NE(std::string::npos,
            out.find(std::string(kThrownOut) +
                     "Fatal:  Could not look up what the database '" +
                     database_ + "' holds: Access denied for user '" + user +
                     "'@'localhost' to database '" + database_ + "'\n" +
                     kNothingDroppedTail))
      << out;
  EXPECT_EQ(252, r.exitCode);
  EXPECT_EQ((Rows{{"other"}}), query("SHOW TABLES", database_));
}

TEST_F(WebmapRunTest, EmptyDatabaseIsDroppedAndRebuiltAsBefore) {
  execute("CREATE DATABASE " + quoteIdentifier(database_));
  const ToolRun r = run();
  EXPECT_EQ(std::string(kBeforeServerWork) + kFound + kFound + kThrownOut +
                kDropped + kCreated + kComplete,
            afterBanner(r));
  EXPECT_EQ(0, r.exitCode);
  EXPECT_EQ(kPlainMapRows, hexes());
}

TEST_F(WebmapRunTest, NotepadConfigurationFileWorks) {
  dir_.write("config.txt", "\xEF\xBB\xBFgame.db\r\nlocalhost\r\nroot\r\n&\r\n" +
                               database_ + "\r\n");
  const ToolRun r = run();
  EXPECT_EQ(0, r.exitCode) << r.out;
  EXPECT_EQ(kPlainMapRows, hexes());
}

// A host word for config.txt and the environment entries it goes with.
struct HostWord {
  std::string host;
  std::vector<std::string> env;
};

// For each host word: a first run and an update run against server complete,
// with every row. No default socket is there to fall back on.
void expectEachHostWordReaches(const PrivateServer& server,
                               const std::vector<HostWord>& words) {
  ScopedTempDir dir;
  dir.write("game.db", plainMap().bytes());
  for (const HostWord& word : words) {
    std::vector<std::string> env = word.env;
    env.push_back("MYSQL_UNIX_PORT=" + dir.file("none.sock"));
    dir.write("config.txt", "game.db " + word.host + " root & webmap\n");
    const ToolRun first = runTool(dir.path(), toolOptions(env));
    EXPECT_EQ(0, first.exitCode) << word.host << "\n" << first.out;
    const ToolRun second = runTool(dir.path(), toolOptions(env));
    EXPECT_EQ(0, second.exitCode) << word.host << "\n" << second.out;
    EXPECT_NE(std::string::npos, second.out.find(kValid)) << word.host;
    EXPECT_EQ(kPlainMapRows, query(kSelectHexes, "webmap", server.socket()))
        << word.host;
    execute("DROP DATABASE webmap", "", server.socket());
  }
}

// Each way the README gives to reach a server that is not on the default
// socket or port.
// The server recipe as a user calls it, with a relative folder and socket.
TEST(ServerRecipeTest, RelativeFoldersCountFromWhereItStarts) {
  PrivateServerOptions options;
  options.relativePaths = true;
  PrivateServer server(options);
  EXPECT_EQ((Rows{{"1"}}), query("SELECT 1", "", server.socket()));
}

TEST(TcpServerTest, ServerOnAnotherPortOrSocketIsReached) {
  const PrivateServerOptions options = onLoopbackTcp();
  PrivateServer server(options);
  const std::string port = std::to_string(options.tcpPort);
  expectEachHostWordReaches(server, {{"127.0.0.1:" + port, {}},
                                     {"127.0.0.1", {"MYSQL_TCP_PORT=" + port}},
                                     {server.socket(), {}}});
}

// An option file's port goes before MYSQL_TCP_PORT, as in every MySQL
// client, and a failed connect names the port it really tried.
TEST(TcpServerTest, OptionFilePortGoesBeforeTheEnvironments) {
  const PrivateServerOptions options = onLoopbackTcp();
  PrivateServer server(options);
  const std::string port = std::to_string(options.tcpPort);
  const std::string idle = std::to_string(freeLoopbackPort());
  ScopedTempDir dir;
  ScopedTempDir home;
  dir.write("game.db", plainMap().bytes());
  dir.write("config.txt", "game.db 127.0.0.1 root & webmap\n");
  const std::vector<std::string> env = {"HOME=" + home.path(),
                                        "MYSQL_HOME=" + home.path()};
  const auto runWith = [&](const std::string& filePort,
                           const std::string& variablePort) {
    home.write(userOptionFile(), "[client]\nport=" + filePort + "\n");
    std::vector<std::string> all = env;
    all.push_back("MYSQL_TCP_PORT=" + variablePort);
    return runTool(dir.path(), toolOptions(all));
  };

  const ToolRun reached = runWith(port, idle);
  EXPECT_EQ(0, reached.exitCode) << reached.out;
  EXPECT_EQ(kPlainMapRows, query(kSelectHexes, "webmap", server.socket()));

  const ToolRun missed = runWith(idle, port);
  EXPECT_EQ(254, missed.exitCode) << missed.out;  // -2
  EXPECT_NE(std::string::npos,
            missed.out.find("Tried port " + idle + " on 127.0.0.1, from port=" +
                            idle + " in"))
      << missed.out;
  EXPECT_NE(std::string::npos, missed.out.find("(line 2)")) << missed.out;
  EXPECT_EQ(std::string::npos, missed.out.find("MYSQL_TCP_PORT")) << missed.out;
}

TEST(TcpServerTest, IPv6AddressesReachTheServer) {
  PrivateServerOptions options;
  options.tcpAddress = "::1";
  options.tcpPort = freeLoopbackPort(AF_INET6);
  PrivateServer server(options);
  const std::string port = std::to_string(options.tcpPort);
  expectEachHostWordReaches(server, {{"::1", {"MYSQL_TCP_PORT=" + port}},
                                     {"[::1]", {"MYSQL_TCP_PORT=" + port}},
                                     {"[::1]:" + port, {}}});
}

TEST(HostWordTest, UnreadableHostWordsStopWithMinusTwo) {
  ScopedTempDir dir;
  dir.write("game.db", plainMap().bytes());
  for (const std::string host :
       {"127.0.0.1:", "127.0.0.1:99999", "127.0.0.1:no-such-service", "[::1",
        "[::1]3306", "http://127.0.0.1:33061"}) {
    dir.write("config.txt", "game.db " + host + " root & webmap\n");
    const ToolRun r = runTool(dir.path());
    EXPECT_EQ(254, r.exitCode) << host << "\n" << r.out;
    EXPECT_NE(
        std::string::npos,
        r.out.find("Fatal:  Cannot connect to the MySQL server on host '" +
                   host + "': Unreadable "))
        << r.out;
  }
}

}  // namespace
