// Whole runs of the built tool against the throwaway MariaDB server started
// by scripts/with-mariadb: what the console shows, the exit status, and what
// landed in the webmap.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <map>
#include <thread>

#include "gamedb_builder/game_db_builder.h"
#include "stops/stop.h"
#include "test_support/banner_lines.h"
#include "test_support/temp_dir.h"
#include "test_support/test_server.h"
#include "test_support/tool_runner.h"
#include "test_support/webmap_run_fixture.h"
#include "webmap/webmap_preparation.h"
#include "webmap/webmap_tables.h"

namespace {

// A run whose output goes to a file ("> log.txt", as scripts and scheduled
// tasks run it) shows each line in the file as it is written, and a run
// killed in its upload leaves every line it had written.
TEST_F(WebmapRunTest, RedirectedRunWritesEachLineAsItGoes) {
  writeGameDb(plainGameDb(40, 40));  // 1,600 hexes: an upload of seconds
  const std::string log = dir_.file("log.txt");
  std::atomic<pid_t> pid{0};
  ToolOptions options = toolOptions(env_);
  options.outputFile = log;
  options.onStart = [&](pid_t started) { pid = started; };
  std::thread running([&] { runTool(dir_.path(), options); });
  waitForHexRows(200);
  const auto withoutCarriageReturns = [](std::string text) {
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    return text;
  };
  const std::string upToUpload = std::string(kBanner) + kBeforeServerWork +
                                 kCreated + kThrownOut + kDropped + kCreated;
  const std::string whileRunning = withoutCarriageReturns(readWholeFile(log));
  // Killed as a time limit or a closed window ends it. Wine's server must
  // see a Windows program end, which SIGKILL, mid-upload, does not let it
  // (it then fails its own checks and takes other programs with it); on
  // SIGTERM Wine ends the program as TerminateProcess does.
  if (pid > 0) kill(-pid, testingWindowsPrograms() ? SIGTERM : SIGKILL);
  running.join();
  EXPECT_EQ(0u, whileRunning.find(upToUpload))
      << "the log while the upload ran:\n" << whileRunning;
  EXPECT_EQ(0u, withoutCarriageReturns(readWholeFile(log)).find(upToUpload));
}

TEST_F(WebmapRunTest, FirstRunCreatesTheWebmapAndInsertsEveryHex) {
  const ToolRun first = run();
  EXPECT_EQ(kFirstRunLines, afterBanner(first));
  EXPECT_EQ(0, first.exitCode);
  EXPECT_EQ("", first.err) << "nothing on standard error without a terminal";
  EXPECT_EQ(kPlainMapRows, hexes());
  EXPECT_EQ((Rows{{"777777", "3", "2", "1"}}), description());
}

TEST_F(WebmapRunTest, ProgressShowsOnlyOnAStandardErrorTerminal) {
  ToolOptions terminalOptions = toolOptions(env_);
  terminalOptions.stderrOnTerminal = true;
  const ToolRun onTerminal = runTool(dir_.path(), terminalOptions);
  EXPECT_EQ(0, onTerminal.exitCode);
  EXPECT_NE(std::string::npos,
            onTerminal.err.find("\rWriting hexes: 6 of 6 (100%)"))
      << onTerminal.err;
  // The line is erased when the upload is done.
  const std::string erase = "\r" + std::string(29, ' ') + "\r";
  ASSERT_GE(onTerminal.err.size(), erase.size());
  EXPECT_EQ(erase, onTerminal.err.substr(onTerminal.err.size() - erase.size()));

  const ToolRun plain = run();
  EXPECT_EQ("", plain.err);
  // Standard output is the same either way (an update run the second time).
  EXPECT_EQ(kUpdateRunLines, afterBanner(plain));
  EXPECT_EQ(kFirstRunLines, afterBanner(onTerminal));
}

TEST_F(WebmapRunTest, SecondRunUpdatesInPlace) {
  ASSERT_EQ(0, run().exitCode);
  // Hex 4 changes its owner, terrain, planet and economy between turns.
  HexValues changed = plainHex(4, 3);
  changed.politicalControl = 7;
  changed.terrain = 1u << 23;
  changed.planet = 1u << 11;
  changed.economy = 0xF6;  // -10
  GameDbBuilder db = plainMap();
  db.hexAt(kFirstHexTypeNameStart + 4 * kHexObjectStride, changed);
  writeGameDb(db);

  const ToolRun second = run();
  EXPECT_EQ(kUpdateRunLines, afterBanner(second));
  EXPECT_EQ(0, second.exitCode);
  Rows expected = kPlainMapRows;
  expected[4] = {"4",   "1",   "1", "7", "8388608", "2048", "0",
                 "-10", "-10", "4", "4", "1",       "1"};
  EXPECT_EQ(expected, hexes());
  EXPECT_EQ((Rows{{"777777", "3", "2", "1"}}), description());
}

// Every webmap that does not match the map is dropped and created anew: the
// webmap of a first run, damaged, or tables that earlier versions left.
TEST_F(WebmapRunTest, WebmapThatDoesNotMatchTheMapIsRebuilt) {
  const struct {
    const char* name;
    // Run on the webmap database: after a first run, or in a database made
    // for the case when firstRun is false.
    std::vector<std::string> damage;
    bool firstRun;
    // The count query fails too, with the line of a create attempt.
    bool tableMissing;
  } kCases[] = {
      {"one maphex row too many",
       {"INSERT INTO maphex(ID, X, Y, PoliticalControl, TerrainType, "
        "PlanetType, StarbaseType, BaseEconomicPoints, CurrentEconomicPoints, "
        "BaseVictoryPoints, CurrentVictoryPoints, BaseSpeedPoints, "
        "CurrentSpeedPoints) VALUES(6, 50, 50, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1)"},
       true,
       false},
      {"no mapdescription row", {"DELETE FROM mapdescription"}, true, false},
      {"two mapdescription rows",
       {"INSERT INTO mapdescription(ID, Width, Height, CorrectedBaseAIs) "
        "VALUES(1, 1, 1, 1)"},
       true,
       false},
      {"no maphex table", {"DROP TABLE maphex"}, true, true},
      // The right number of rows, but not the IDs that the UPDATEs look for.
      {"rows under other IDs",
       {"UPDATE maphex SET ID = ID + 100"},
       true,
       false},
      // Earlier versions created the tables as MapHex and MapDescription: on
      // a server that compares case, "maphex" does not find them.
      {"tables named in mixed case",
       {"CREATE TABLE MapHex (ID INTEGER PRIMARY KEY, X INTEGER)",
        "CREATE TABLE MapDescription (ID INTEGER PRIMARY KEY)",
        "INSERT INTO MapDescription VALUES (777777)"},
       false,
       true},
  };
  for (const auto& c : kCases) {
    execute("DROP DATABASE IF EXISTS " + quoteIdentifier(database_));
    if (c.firstRun) {
      ASSERT_EQ(0, run().exitCode) << c.name;
    } else {
      execute("CREATE DATABASE " + quoteIdentifier(database_));
    }
    for (const std::string& statement : c.damage) {
      execute(statement, database_);
    }
    const std::string missingTable = c.tableMissing ? kFound : "";
    const ToolRun rebuilt = run();
    EXPECT_EQ(std::string(kBeforeServerWork) + kFound + missingTable +
                  kThrownOut + kDropped + kCreated + kComplete,
              afterBanner(rebuilt))
        << c.name;
    EXPECT_EQ(0, rebuilt.exitCode) << c.name;
    EXPECT_EQ(kPlainMapRows, hexes()) << c.name;
    EXPECT_EQ((Rows{{"777777", "3", "2", "1"}}), description()) << c.name;
    EXPECT_EQ((Rows{{"mapdescription"}, {"maphex"}}),
              query("SHOW TABLES", database_))
        << c.name;
  }
}

TEST_F(WebmapRunTest, HexesWithTheSameCoordinatesFailHonestly) {
  GameDbBuilder db = plainMap();
  HexValues twin = plainHex(4, 3);
  twin.x = 0;
  twin.y = 0;  // the same X and Y as hex 0
  db.hexAt(kFirstHexTypeNameStart + 4 * kHexObjectStride, twin);
  writeGameDb(db);
  const ToolRun r = run();
  const std::string out = afterBanner(r);
  EXPECT_EQ(std::string(kBeforeServerWork) + kCreated + kThrownOut + kDropped +
                kCreated + "Info:   Error updating!\n" + kComplete,
            out.substr(0, out.find("Fatal:  ")));
  EXPECT_NE(std::string::npos,
            out.find("Fatal:  1 statement failed on the MySQL server; the "
                     "webmap is incomplete. First failure: Duplicate entry"))
      << out;
  EXPECT_NE(std::string::npos,
            out.find("(in: INSERT INTO maphex(ID, X, Y, PoliticalControl, "
                     "TerrainType, PlanetType, StarbaseType, "
                     "BaseEconomicPoints, CurrentEconomicPoints, "
                     "BaseVictoryPoints, CurrentVictoryPoints, "
                     "BaseSpeedPoints, CurrentSpeedPoints) VALUES( 4, 0, 0, "
                     "4, 16384, 0, 0, 4, 4, 4, 4, 1 , 1 );)\n"))
      << out;
  EXPECT_EQ(252, r.exitCode);  // -4
  EXPECT_EQ(5u, hexes().size());

  // The next run finds the webmap incomplete and rebuilds it, failing again
  // for the same hex.
  const ToolRun again = run();
  EXPECT_EQ(252, again.exitCode);
  EXPECT_NE(std::string::npos, again.out.find(kThrownOut));
}

TEST_F(WebmapRunTest, UserWithoutDropPrivilegeGetsUpdatesAndAFailure) {
  ASSERT_EQ(0, run().exitCode);
  execute("DELETE FROM maphex WHERE ID = 5", database_);
  const std::string user = uniqueName("nodrop");
  execute("CREATE USER '" + user + "'@'localhost' IDENTIFIED BY 'pw'");
  execute("GRANT SELECT, INSERT, UPDATE, CREATE ON *.* TO '" + user +
          "'@'localhost'");
  configure(user, "pw");
  const ToolRun r = run();
  execute("DROP USER '" + user + "'@'localhost'");
  const std::string out = afterBanner(r);
  // Failed: the drop, the UPDATE of hex 5, which finds no row, and the
  // DELETE that would mark the webmap for a rebuild (no DELETE privilege).
  EXPECT_EQ(std::string(kBeforeServerWork) + kFound + kThrownOut +
                "Fatal:  Was unable to drop the database!\n" + kFound +
                "Info:   Error updating!\n"
                "Info:   Error updating!\n" +
                kComplete,
            out.substr(0, out.find("Fatal:  3 statements")));
  EXPECT_NE(std::string::npos,
            out.find("Fatal:  3 statements failed on the MySQL server; the "
                     "webmap is incomplete. First failure: "))
      << out;
  EXPECT_NE(std::string::npos, out.find("(in: DROP DATABASE `" + database_))
      << out;
  EXPECT_EQ(252, r.exitCode);
  // The rows that were there got their UPDATE; hex 5 has none to update.
  Rows expected = kPlainMapRows;
  expected.pop_back();
  EXPECT_EQ(expected, hexes());
}

TEST_F(WebmapRunTest, UnreachableServerAndRefusedLoginStopWithMinusTwo) {
  configure("root", "wrong-password");
  const ToolRun refused = run();
  EXPECT_EQ(std::string(kBeforeServerWork) +
                "Fatal:  Cannot connect to the MySQL server on host "
                "'localhost': Access denied for user 'root'@'localhost' "
                "(using password: YES)\n"
                "        The server refused the login: check the user and "
                "password in config.txt.\n"
                "Press any key to exit...\n",
            afterBanner(refused));
  EXPECT_EQ(254, refused.exitCode);  // -2

  configure("root", "&");
  // The socket tried is named with where it came from (no server listens
  // on a path under /nonexistent): an option file, which goes before
  // MYSQL_UNIX_PORT.
  ScopedTempDir options;
  const std::string file = options.write(
      "my.cnf", "[client-server]\nsocket=/nonexistent/zelkor/no-server.sock\n");
  const ToolRun unreachable = run({"MYSQL_HOME=" + options.path()});
  EXPECT_EQ(std::string(kBeforeServerWork) +
                "Fatal:  Cannot connect to the MySQL server on host "
                "'localhost': <error>\n" +
                continuationLines("Tried the socket "
                                  "/nonexistent/zelkor/no-server.sock, from "
                                  "socket=/nonexistent/zelkor/no-server.sock "
                                  "in " +
                                  file + " (line 2).") +
                "Press any key to exit...\n",
            withConnectErrorMasked(afterBanner(unreachable)));
  EXPECT_EQ(254, unreachable.exitCode);
  EXPECT_TRUE(query("SHOW DATABASES LIKE '" + database_ + "'").empty());
}

TEST_F(WebmapRunTest, DatabaseNamesNeedNoCare) {
  const std::string names[] = {
      database_ + "-with-hyphen", database_ + "`tick",
      database_ + "';DROP",       database_ + "\"dq",
      database_ + "\xC2\xA0nbsp", database_ + "`;DROP/**/DATABASE/**/mysql;--"};
  for (const std::string& name : names) {
    dir_.write("config.txt", "game.db localhost root & " + name + "\n");
    const ToolRun first = run();
    EXPECT_EQ(0, first.exitCode) << name << "\n" << first.out;
    const ToolRun second = run();
    EXPECT_EQ(0, second.exitCode) << name << "\n" << second.out;
    EXPECT_NE(std::string::npos, second.out.find(kValid)) << name;
    EXPECT_EQ(kPlainMapRows, query(kSelectHexes, name)) << name;
    execute("DROP DATABASE " + quoteIdentifier(name));
  }
}

TEST_F(WebmapRunTest, SurplusHexObjectsAreIgnoredWithANote) {
  GameDbBuilder db = plainMap();
  db.hexAt(db.size() + 20, HexValues{}).hexAt(db.size() + 200, HexValues{});
  db.resize(db.size() + 200);
  writeGameDb(db);
  const ToolRun r = run();
  const std::string out = afterBanner(r);
  EXPECT_NE(std::string::npos,
            out.find("Info:   Sorting ?AVtMetaMapHex objects.\n"
                     "Info:   Ignoring 2 hex objects beyond the 6 of the map "
                     "of 2 rows x 3 columns.\n"
                     "Info:   Getting X-Coordinate information...\n"))
      << out;
  EXPECT_EQ(0, r.exitCode);
  EXPECT_EQ(kPlainMapRows, hexes());
}

TEST_F(WebmapRunTest, FileWithoutAMapLeavesTheWebmapAlone) {
  ASSERT_EQ(0, run().exitCode);
  // No map description object: the map size comes from bytes 52 and 48 of
  // the file, here 0 rows and 4 columns; one hex object.
  GameDbBuilder db(100);
  db.byteAt(48, 4).hexAt(60, HexValues{});
  writeGameDb(db);
  const ToolRun r = run();
  EXPECT_EQ(253, r.exitCode) << r.out;  // -3
  EXPECT_EQ(std::string::npos, r.out.find("Updating the MySQL database"));
  EXPECT_EQ(kPlainMapRows, hexes());
  EXPECT_EQ((Rows{{"777777", "3", "2", "1"}}), description());
}

// Hexes that come in another file order than the run that inserted them:
// the UPDATEs give rows the X and Y that other rows still hold.
TEST_F(WebmapRunTest, UpdatesThatCollideMakeTheNextRunRebuild) {
  ASSERT_EQ(0, run().exitCode);
  GameDbBuilder reordered = gameDbWithMap(2, 3, [](int i) {
    return plainHex(i < 2 ? 1 - i : i, 3);  // hexes 0 and 1 swapped
  });
  writeGameDb(reordered);
  const ToolRun collided = run();
  EXPECT_EQ(252, collided.exitCode) << collided.out;  // -4
  EXPECT_NE(std::string::npos,
            collided.out.find("First failure: Duplicate entry '1-0' for key "
                              "'XYIndex' (in: UPDATE maphex SET X='1', "))
      << collided.out;
  EXPECT_TRUE(description().empty())
      << "the map description row is gone, so that the next run rebuilds";

  const ToolRun rebuilt = run();
  EXPECT_EQ(std::string(kBeforeServerWork) + kFound + kThrownOut + kDropped +
                kCreated + kComplete,
            afterBanner(rebuilt));
  EXPECT_EQ(0, rebuilt.exitCode);
  Rows expected = kPlainMapRows;
  std::swap(expected[0], expected[1]);
  expected[0][0] = "0";
  expected[1][0] = "1";
  EXPECT_EQ(expected, hexes());
  EXPECT_EQ((Rows{{"777777", "3", "2", "1"}}), description());
}

TEST_F(WebmapRunTest, UpdateThatFindsNoRowFails) {
  ASSERT_EQ(0, run().exitCode);
  // The mapdescription row under another ID: the validity test counts one
  // row, but the UPDATE finds none.
  execute("UPDATE mapdescription SET ID = 1", database_);
  const ToolRun r = run();
  EXPECT_EQ(std::string(kBeforeServerWork) + kFound + kValid +
                "Info:   Error updating!\n" + kComplete +
                "Fatal:  1 statement failed on the MySQL server; the webmap "
                "is incomplete. First failure: no row has this ID (in: UPDATE "
                "mapdescription SET Width='3', Height='2', "
                "CorrectedBaseAIs='1' WHERE ID='777777';)\n",
            afterBanner(r));
  EXPECT_EQ(252, r.exitCode);
  const ToolRun next = run();
  EXPECT_EQ(0, next.exitCode) << next.out;
  EXPECT_NE(std::string::npos, next.out.find(kThrownOut));
  EXPECT_EQ((Rows{{"777777", "3", "2", "1"}}), description());
}

TEST_F(WebmapRunTest, DatabaseNameTheServerRefusesIsNoSuccess) {
  const std::string name = database_ + std::string(70, 'n');  // over 64
  dir_.write("config.txt", "game.db localhost root & " + name + "\n");
  const ToolRun r = run();
  EXPECT_EQ(252, r.exitCode) << r.out;
  EXPECT_EQ(std::string::npos, r.out.find(kValid));
  EXPECT_NE(std::string::npos, r.out.find("First failure: ")) << r.out;
}

// A server that compares table names without regard to case (as Windows and
// macOS servers do) sees exactly the runs it always has.
class CaseInsensitiveServerTest : public WebmapRunTest {
 protected:
  void SetUp() override {
    WebmapRunTest::SetUp();
    socket_ = serverSocket("ZELKOR_CASE_INSENSITIVE_SOCKET");
    env_ = {"MYSQL_UNIX_PORT=" + socket_};
  }
};

TEST_F(CaseInsensitiveServerTest, FirstRunAndUpdateRunAreUnchanged) {
  expectFirstRunThenUpdateRun([&] { return run(); });
  EXPECT_EQ(kPlainMapRows, hexes());
  EXPECT_EQ((Rows{{"777777", "3", "2", "1"}}), description());
  // The server keeps the names in lower case, as the tool writes them.
  EXPECT_EQ((Rows{{"mapdescription"}, {"maphex"}}),
            query("SHOW TABLES", database_, socket_));
}

}  // namespace

namespace {

class ExactStatementsTest : public WebmapRunTest {
 protected:
  // Two runs of a 1 x 2 map by a new user, with env added to the tool's
  // environment; the server's general log must hold exactly their
  // statements, each on a connection of its own.
  void expectTheExactStatements(const std::vector<std::string>& env);
};

void ExactStatementsTest::expectTheExactStatements(
    const std::vector<std::string>& env) {
  writeGameDb(plainGameDb(1, 2));
  const std::string user = createUser("logged", "");
  execute("GRANT ALL PRIVILEGES ON *.* TO '" + user + "'@'localhost'");
  configure(user, "&");
  startGeneralLog();
  const ToolRun first = run(env);
  const ToolRun second = run(env);
  ASSERT_EQ(0, first.exitCode) << first.out;
  ASSERT_EQ(0, second.exitCode) << second.out;

  std::vector<std::string> statements;
  std::map<std::string, int> queriesPerConnection;
  std::map<std::string, std::string> connectOf;
  size_t connections = 0;
  for (const LoggedStatement& logged : loggedStatements(user)) {
    if (logged.command == "Connect") {
      ++connections;
      connectOf[logged.connection] = logged.argument;
    }
    if (logged.command != "Query") continue;
    statements.push_back(logged.argument);
    ++queriesPerConnection[logged.connection];
    // Creating and dropping the database selects none, so that an account
    // with rights on the webmap database only may do it; every other
    // statement selects the webmap database.
    const bool namesTheDatabase =
        logged.argument.rfind("CREATE DATABASE", 0) == 0 ||
        logged.argument.rfind("DROP DATABASE", 0) == 0;
    EXPECT_EQ(namesTheDatabase
                  ? user + "@localhost on  using Socket"
                  : user + "@localhost on " + database_ + " using Socket",
              connectOf[logged.connection])
        << logged.argument;
  }
  const std::string kCreateMapHex =
      "CREATE TABLE maphex (ID INTEGER PRIMARY KEY, LOCKED DATETIME, LOCKID "
      "INTEGER, X INTEGER NOT NULL, Y INTEGER NOT NULL, PoliticalControl "
      "INTEGER NOT NULL, TerrainType INTEGER NOT NULL, PlanetType INTEGER NOT "
      "NULL, StarbaseType INTEGER NOT NULL, BaseEconomicPoints INTEGER NOT "
      "NULL, CurrentEconomicPoints INTEGER NOT NULL, BaseVictoryPoints "
      "INTEGER NOT NULL, CurrentVictoryPoints INTEGER NOT NULL, "
      "BaseSpeedPoints DOUBLE NOT NULL, CurrentSpeedPoints DOUBLE NOT NULL, "
      "CONSTRAINT XYIndex UNIQUE(X, Y) );";
  const std::string kCreateMapDescription =
      "CREATE TABLE mapdescription (ID INTEGER PRIMARY KEY, LOCKED DATETIME, "
      "LOCKID INTEGER, Width INTEGER NOT NULL, Height INTEGER NOT NULL, "
      "CorrectedBaseAIs INTEGER NOT NULL);";
  const std::string db = "`" + database_ + "`";
  const std::vector<std::string> expected = {
      // first run: create, find it empty, throw it out, create again, insert
      "CREATE DATABASE " + db,
      kCreateMapHex,
      kCreateMapDescription,
      "SELECT COUNT(*) from maphex;",
      "SELECT TABLE_TYPE, TABLE_NAME FROM information_schema.TABLES WHERE "
      "TABLE_SCHEMA = DATABASE() UNION ALL SELECT ROUTINE_TYPE, ROUTINE_NAME "
      "FROM information_schema.ROUTINES WHERE ROUTINE_SCHEMA = DATABASE() "
      "UNION ALL SELECT 'EVENT', EVENT_NAME FROM information_schema.EVENTS "
      "WHERE EVENT_SCHEMA = DATABASE()",
      "DROP DATABASE " + db,
      "CREATE DATABASE " + db,
      kCreateMapHex,
      kCreateMapDescription,
      "INSERT INTO maphex(ID, X, Y, PoliticalControl, TerrainType, "
      "PlanetType, StarbaseType, BaseEconomicPoints, CurrentEconomicPoints, "
      "BaseVictoryPoints, CurrentVictoryPoints, BaseSpeedPoints, "
      "CurrentSpeedPoints) VALUES( 0, 0, 0, 0, 64, 1, 0, 0, 0, 0, 0, 1 , 1 );",
      "INSERT INTO maphex(ID, X, Y, PoliticalControl, TerrainType, "
      "PlanetType, StarbaseType, BaseEconomicPoints, CurrentEconomicPoints, "
      "BaseVictoryPoints, CurrentVictoryPoints, BaseSpeedPoints, "
      "CurrentSpeedPoints) VALUES( 1, 1, 0, 1, 64, 0, 1, 1, 1, 1, 1, 1 , 1 );",
      "INSERT INTO mapdescription(ID, Width, Height, CorrectedBaseAIs) "
      "VALUES('777777', '2', '1', '1');",
      // second run: the create attempt fails, the counts match, update
      "CREATE DATABASE " + db,
      "SELECT COUNT(*) from maphex;",
      "SELECT COUNT(*) from maphex WHERE ID >= 0 AND ID < 2;",
      "SELECT COUNT(*) from mapdescription",
      "UPDATE maphex SET X='0', Y='0', PoliticalControl='0', "
      "TerrainType='64', PlanetType='1', StarbaseType='0', "
      "BaseEconomicPoints='0', CurrentEconomicPoints='0', "
      "BaseVictoryPoints='0', CurrentVictoryPoints='0', BaseSpeedPoints='1', "
      "CurrentSpeedPoints='1'WHERE ID='0';",
      "UPDATE maphex SET X='1', Y='0', PoliticalControl='1', "
      "TerrainType='64', PlanetType='0', StarbaseType='1', "
      "BaseEconomicPoints='1', CurrentEconomicPoints='1', "
      "BaseVictoryPoints='1', CurrentVictoryPoints='1', BaseSpeedPoints='1', "
      "CurrentSpeedPoints='1'WHERE ID='1';",
      "UPDATE mapdescription SET Width='2', Height='1', CorrectedBaseAIs='1' "
      "WHERE ID='777777';",
  };
  ASSERT_EQ(expected.size(), statements.size())
      << ::testing::PrintToString(statements);
  for (size_t i = 0; i < expected.size(); ++i) {
    std::string want = expected[i];
    // The server drops a statement's closing semicolon and the blanks
    // before it when it logs the statement.
    while (!want.empty() && (want.back() == ';' || want.back() == ' ')) {
      want.pop_back();
    }
    EXPECT_EQ(want, statements[i]) << "statement " << i;
  }
  EXPECT_EQ(statements.size(), connections);
  for (const auto& [thread, count] : queriesPerConnection) {
    EXPECT_EQ(1, count) << "connection " << thread;
  }
}

// Every statement of two runs as the server's general query log received it,
// for a map of one row and two columns, run by a user of its own so that
// other tests' statements can be told apart: with the harness's own option
// file, and with one that names the server's socket as Debian's names its
// own.
TEST_F(ExactStatementsTest, ServerReceivesTheExactStatementsEachOnItsOwnConnection) {
  ScopedTempDir debian;
  debian.write("my.cnf", "[client-server]\nsocket = " + socket_ + "\n");
  for (const std::string& optionFolder : {std::string(), debian.path()}) {
    SCOPED_TRACE("option files in '" + optionFolder + "'");
    execute("DROP DATABASE IF EXISTS " + quoteIdentifier(database_));
    expectTheExactStatements(
        optionFolder.empty()
            ? std::vector<std::string>{}
            : std::vector<std::string>{"MYSQL_HOME=" + optionFolder});
  }
}

// Whether a process holds an flock lock on the file at path (from
// /proc/locks, without taking one).
bool isLocked(const std::string& path) {
  struct stat file {};
  if (stat(path.c_str(), &file) != 0) return false;
  const std::string inode = ":" + std::to_string(file.st_ino) + " ";
  const std::string locks = readWholeFile("/proc/locks");
  size_t line = 0;
  while (line < locks.size()) {
    const size_t end = locks.find('\n', line);
    const std::string text = locks.substr(line, end - line);
    if (text.find("FLOCK") != std::string::npos &&
        text.find(inode) != std::string::npos) {
      return true;
    }
    if (end == std::string::npos) break;
    line = end + 1;
  }
  return false;
}

constexpr char kWaitingForTheOtherRun[] =
    "Info:   Another run is using config.txt in this folder. Waiting for it "
    "to end...\n";

// A slow turn and the next cron tick: the second run and the map page wait
// for the first run, and both runs complete.
TEST_F(WebmapRunTest, RunsInOneFolderTakeTurns) {
  constexpr int kSide = 30;
  writeGameDb(plainGameDb(kSide, kSide));
  ToolRun first;
  std::thread firstTool([&] { first = run(); });
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (!isLocked(dir_.file("config.txt")) &&
         std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  ToolRun second;
  ToolRun page;
  std::thread secondTool([&] { second = run(); });
  std::thread pageTool([&] {
    ToolOptions o = toolOptions(env_);
    o.program = mapPagePath();
    page = runTool(dir_.path(), o);
  });
  firstTool.join();
  secondTool.join();
  pageTool.join();

  EXPECT_EQ(kFirstRunLines, afterBanner(first));
  EXPECT_EQ(0, first.exitCode);
  EXPECT_EQ(kWaitingForTheOtherRun + kUpdateRunLines, afterBanner(second));
  EXPECT_EQ(0, second.exitCode);
  EXPECT_EQ(std::string(kWaitingForTheOtherRun) +
                "Info:   Wrote webmap.html: 900 hexes drawn.\n",
            page.out);
  EXPECT_EQ(0, page.exitCode);
  EXPECT_EQ(kSide * kSide, static_cast<int>(hexes().size()));
}

// Killed during the upload with its output in a pipe (as under cron or the
// publish script), a run has already passed on every line it wrote.
TEST_F(WebmapRunTest, KilledRunLeavesItsLinesInThePipe) {
  writeGameDb(plainGameDb(100, 100));
  std::atomic<pid_t> pid{0};
  ToolOptions o = toolOptions(env_);
  o.onStart = [&](pid_t started) { pid = started; };
  ToolRun killed;
  std::thread tool([&] { killed = runTool(dir_.path(), o); });
  waitForHexRows(100);
  kill(pid, SIGKILL);
  tool.join();
  EXPECT_EQ(-1, killed.exitCode);
  EXPECT_EQ(std::string(kBeforeServerWork) + kCreated + kThrownOut + kDropped +
                kCreated,
            afterBanner(killed));
}

}  // namespace

