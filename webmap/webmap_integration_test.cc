// Whole runs of the built tool against the throwaway MariaDB server started
// by scripts/with-mariadb: what the console shows, the exit status, and what
// landed in the webmap.
#include <gtest/gtest.h>

#include <map>

#include "driver/banner.h"
#include "test_support/game_db_builder.h"
#include "test_support/temp_dir.h"
#include "test_support/test_server.h"
#include "test_support/tool_runner.h"
#include "webmap/webmap_schema.h"

namespace {

const char kBeforeServerWork[] =
    "Info:   Checking configuration file...\n\n"
    "Info:   Opening database and reading data...\n"
    "Info:   Database closed.\n"
    "Info:   Getting rows.\n"
    "Info:   Getting columns.\n"
    "Info:   Sorting ?AVtMetaMapHex objects.\n"
    "Info:   Getting X-Coordinate information...\n"
    "Info:   Getting Y-Coordinate information...\n"
    "Info:   Getting Terrain information...\n"
    "Info:   Getting Starbase information...\n"
    "Info:   Getting Planet information...\n"
    "Info:   Getting Empire Political Control infomation...\n"
    "Info:   Getting Defense Value information...\n"
    "Info:   Getting Economy information...\n"
    "Info:   Updating the MySQL database...\n"
    "        This could take a long time if the MySQL server\n"
    "        isn't localhost...\n";
const char kCreated[] =
    "Info:   New webmap database created.\n"
    "        Updating structure...\n";
const char kFound[] = "Info:   Found webmap database. Updating...\n";
const char kThrownOut[] =
    "Info:   Current webmap database doesn't appear to be valid.  Throwing "
    "out.\n"
    "        A new datbase will be created.\n";
const char kDropped[] = "Info:   Database dropped.\n";
const char kValid[] = "Info:   Current webmap database appears valid.\n";
const char kComplete[] =
    "Info:   Webmap database generation complete.  Exiting.\n";

// The maphex rows of the 2 x 3 map of plainHex, as the server returns them:
// ID, X, Y, PoliticalControl, TerrainType, PlanetType, StarbaseType,
// BaseEconomicPoints, CurrentEconomicPoints, BaseVictoryPoints,
// CurrentVictoryPoints, BaseSpeedPoints, CurrentSpeedPoints.
const Rows kPlainMapRows = {
    {"0", "0", "0", "0", "64", "1", "0", "0", "0", "0", "0", "1", "1"},
    {"1", "1", "0", "1", "64", "0", "1", "1", "1", "1", "1", "1", "1"},
    {"2", "2", "0", "2", "4096", "0", "0", "2", "2", "2", "2", "1", "1"},
    {"3", "0", "1", "3", "8192", "0", "2", "3", "3", "3", "3", "1", "1"},
    {"4", "1", "1", "4", "16384", "0", "0", "4", "4", "4", "4", "1", "1"},
    {"5", "2", "1", "5", "64", "0", "0", "5", "5", "5", "5", "1", "1"},
};

const char kSelectHexes[] =
    "SELECT ID, X, Y, PoliticalControl, TerrainType, PlanetType, "
    "StarbaseType, BaseEconomicPoints, CurrentEconomicPoints, "
    "BaseVictoryPoints, CurrentVictoryPoints, BaseSpeedPoints, "
    "CurrentSpeedPoints FROM maphex ORDER BY ID";
const char kSelectDescription[] =
    "SELECT ID, Width, Height, CorrectedBaseAIs FROM mapdescription";

GameDbBuilder plainMap() { return plainGameDb(2, 3); }

class WebmapRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    socket_ = serverSocket();
    database_ = uniqueName("webmap");
    dir_.write("game.db", plainMap().bytes());
    configure("root", "&");
  }
  void TearDown() override {
    try {
      execute("DROP DATABASE IF EXISTS `" + database_ + "`");
    } catch (...) {
    }
  }

  void configure(const std::string& user, const std::string& password,
                 const std::string& host = "localhost") {
    dir_.write("config.txt", "game.db " + host + " " + user + " " + password +
                                 " " + database_ + "\n");
  }
  void writeGameDb(const GameDbBuilder& db) {
    dir_.write("game.db", db.bytes());
  }
  ToolRun run(const std::vector<std::string>& env = {}) {
    return runTool(dir_.path(), {}, env);
  }
  // The output after the banner.
  static std::string afterBanner(const ToolRun& run) {
    const std::string banner = bannerText();
    EXPECT_EQ(banner, run.out.substr(0, banner.size()));
    return run.out.substr(std::min(banner.size(), run.out.size()));
  }
  Rows hexes() { return query(kSelectHexes, database_); }
  Rows description() { return query(kSelectDescription, database_); }

  ScopedTempDir dir_;
  std::string socket_;
  std::string database_;
};

TEST_F(WebmapRunTest, FirstRunCreatesTheWebmapAndInsertsEveryHex) {
  const ToolRun first = run();
  EXPECT_EQ(std::string(kBeforeServerWork) + kCreated + kThrownOut + kDropped +
                kCreated + kComplete,
            afterBanner(first));
  EXPECT_EQ(0, first.exitCode);
  EXPECT_EQ("", first.err) << "nothing on standard error without a terminal";
  EXPECT_EQ(kPlainMapRows, hexes());
  EXPECT_EQ((Rows{{"777777", "3", "2", "1"}}), description());
}

TEST_F(WebmapRunTest, ProgressShowsOnlyOnAStandardErrorTerminal) {
  const ToolRun onTerminal = runTool(dir_.path(), {}, {}, true);
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
  EXPECT_EQ(std::string(kBeforeServerWork) + kFound + kValid + kComplete,
            afterBanner(plain));
  EXPECT_EQ(std::string(kBeforeServerWork) + kCreated + kThrownOut + kDropped +
                kCreated + kComplete,
            afterBanner(onTerminal));
}

TEST_F(WebmapRunTest, SecondRunUpdatesInPlace) {
  ASSERT_EQ(0, run().exitCode);
  // Hex 4 changes its owner, terrain, planet and economy between turns.
  HexFields changed = plainHex(4, 3);
  changed.politicalControl = 7;
  changed.terrain = 1u << 23;
  changed.planet = 1u << 11;
  changed.economy = 0xF6;  // -10
  GameDbBuilder db = plainMap();
  db.hexAt(kFirstHexTypeNameStart + 4 * kHexObjectStride, changed);
  writeGameDb(db);

  const ToolRun second = run();
  EXPECT_EQ(std::string(kBeforeServerWork) + kFound + kValid + kComplete,
            afterBanner(second));
  EXPECT_EQ(0, second.exitCode);
  Rows expected = kPlainMapRows;
  expected[4] = {"4",   "1",   "1", "7", "8388608", "2048", "0",
                 "-10", "-10", "4", "4", "1",       "1"};
  EXPECT_EQ(expected, hexes());
  EXPECT_EQ((Rows{{"777777", "3", "2", "1"}}), description());
}

TEST_F(WebmapRunTest, WebmapThatDoesNotMatchTheMapIsRebuilt) {
  const struct {
    const char* name;
    const char* damage;
  } kCases[] = {
      {"one maphex row too many",
       "INSERT INTO maphex(ID, X, Y, PoliticalControl, TerrainType, "
       "PlanetType, StarbaseType, BaseEconomicPoints, CurrentEconomicPoints, "
       "BaseVictoryPoints, CurrentVictoryPoints, BaseSpeedPoints, "
       "CurrentSpeedPoints) VALUES(6, 50, 50, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1)"},
      {"no mapdescription row", "DELETE FROM mapdescription"},
      {"two mapdescription rows",
       "INSERT INTO mapdescription(ID, Width, Height, CorrectedBaseAIs) "
       "VALUES(1, 1, 1, 1)"},
      {"no maphex table", "DROP TABLE maphex"},
  };
  for (const auto& c : kCases) {
    ASSERT_EQ(0, run().exitCode) << c.name;
    execute(c.damage, database_);
    const std::string missingTable =
        std::string(c.name) == "no maphex table" ? kFound : "";
    const ToolRun rebuilt = run();
    EXPECT_EQ(std::string(kBeforeServerWork) + kFound + missingTable +
                  kThrownOut + kDropped + kCreated + kComplete,
              afterBanner(rebuilt))
        << c.name;
    EXPECT_EQ(0, rebuilt.exitCode) << c.name;
    EXPECT_EQ(kPlainMapRows, hexes()) << c.name;
    EXPECT_EQ((Rows{{"777777", "3", "2", "1"}}), description()) << c.name;
  }
}

TEST_F(WebmapRunTest, HexesWithTheSameCoordinatesFailHonestly) {
  GameDbBuilder db = plainMap();
  HexFields twin = plainHex(4, 3);
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
  EXPECT_EQ(std::string(kBeforeServerWork) + kFound + kThrownOut +
                "Fatal:  Was unable to drop the database!\n" + kFound +
                kComplete,
            out.substr(0, out.find("Fatal:  1 statement")));
  EXPECT_NE(std::string::npos,
            out.find("Fatal:  1 statement failed on the MySQL server; the "
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
                "Press any key to exit...\n",
            afterBanner(refused));
  EXPECT_EQ(254, refused.exitCode);  // -2

  configure("root", "&");
  const ToolRun unreachable =
      run({"MYSQL_UNIX_PORT=" + dir_.file("no-server.sock")});
  EXPECT_EQ(std::string(kBeforeServerWork) +
                "Fatal:  Cannot connect to the MySQL server on host "
                "'localhost': Can't connect to local server through socket '" +
                dir_.file("no-server.sock") +
                "' (2)\n"
                "Press any key to exit...\n",
            afterBanner(unreachable));
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
  db.hexAt(db.size() + 20, HexFields{}).hexAt(db.size() + 200, HexFields{});
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

TEST_F(WebmapRunTest, EmptyGridWritesOnlyTheMapDescription) {
  // No map description object: the map size comes from bytes 52 and 48 of
  // the file, here 0 rows and 4 columns.
  GameDbBuilder db(100);
  db.byteAt(48, 4);
  writeGameDb(db);
  const ToolRun first = run();
  EXPECT_EQ(std::string(kBeforeServerWork) + kCreated + kThrownOut + kDropped +
                kCreated + kComplete,
            afterBanner(first));
  EXPECT_EQ(0, first.exitCode);
  EXPECT_TRUE(hexes().empty());
  EXPECT_EQ((Rows{{"777777", "4", "0", "1"}}), description());

  const ToolRun second = run();
  EXPECT_EQ(std::string(kBeforeServerWork) + kFound + kValid + kComplete,
            afterBanner(second));
  EXPECT_EQ(0, second.exitCode);
}

TEST_F(WebmapRunTest, DatabaseNameTheServerRefusesIsNoSuccess) {
  const std::string name = database_ + std::string(70, 'n');  // over 64
  dir_.write("config.txt", "game.db localhost root & " + name + "\n");
  const ToolRun r = run();
  EXPECT_EQ(252, r.exitCode) << r.out;
  EXPECT_EQ(std::string::npos, r.out.find(kValid));
  EXPECT_NE(std::string::npos, r.out.find("First failure: ")) << r.out;
}

TEST(CaseSensitiveServerTest, RunDoesNotClaimSuccess) {
  const std::string socket = serverSocket("ZELKOR_CASE_SENSITIVE_SOCKET");
  ScopedTempDir dir;
  const std::string database = uniqueName("webmap");
  dir.write("game.db", plainMap().bytes());
  dir.write("config.txt", "game.db localhost root & " + database + "\n");
  const ToolRun r = runTool(dir.path(), {}, {"MYSQL_UNIX_PORT=" + socket});
  EXPECT_EQ(252, r.exitCode) << r.out;
  EXPECT_EQ(std::string::npos, r.out.find(kValid));
  EXPECT_NE(std::string::npos, r.out.find("First failure: Table '" + database +
                                          ".maphex' doesn't exist"))
      << r.out;
  execute("DROP DATABASE IF EXISTS `" + database + "`", "", socket);
}

}  // namespace

namespace {

// Every statement of two runs as the server's general query log received it,
// for a map of one row and two columns, run by a user of its own so that
// other tests' statements can be told apart.
TEST_F(WebmapRunTest, ServerReceivesTheExactStatementsEachOnItsOwnConnection) {
  writeGameDb(plainGameDb(1, 2));
  const std::string user = uniqueName("logged");
  execute("CREATE USER '" + user + "'@'localhost'");
  execute("GRANT ALL PRIVILEGES ON *.* TO '" + user + "'@'localhost'");
  configure(user, "&");
  execute("SET GLOBAL log_output = 'TABLE'");
  execute("SET GLOBAL general_log = 1");
  const ToolRun first = run();
  const ToolRun second = run();
  execute("SET GLOBAL general_log = 0");
  ASSERT_EQ(0, first.exitCode) << first.out;
  ASSERT_EQ(0, second.exitCode) << second.out;

  const Rows log = query(
      "SELECT thread_id, command_type, CONVERT(argument USING utf8mb4) "
      "FROM mysql.general_log WHERE thread_id IN (SELECT thread_id FROM "
      "mysql.general_log WHERE command_type = 'Connect' AND argument LIKE '" +
      user + "@localhost%') ORDER BY event_time, thread_id");
  execute("DROP USER '" + user + "'@'localhost'");
  std::vector<std::string> statements;
  std::map<std::string, int> queriesPerConnection;
  size_t connections = 0;
  for (const auto& row : log) {
    if (row[1] == "Connect") ++connections;
    if (row[1] != "Query") continue;
    statements.push_back(row[2]);
    ++queriesPerConnection[row[0]];
  }
  const std::string db = "`" + database_ + "`";
  const std::vector<std::string> expected = {
      // first run: create, find it empty, throw it out, create again, insert
      "CREATE DATABASE " + db,
      "CREATE TABLE MapHex (ID INTEGER PRIMARY KEY, LOCKED DATETIME, LOCKID "
      "INTEGER, X INTEGER NOT NULL, Y INTEGER NOT NULL, PoliticalControl "
      "INTEGER NOT NULL, TerrainType INTEGER NOT NULL, PlanetType INTEGER NOT "
      "NULL, StarbaseType INTEGER NOT NULL, BaseEconomicPoints INTEGER NOT "
      "NULL, CurrentEconomicPoints INTEGER NOT NULL, BaseVictoryPoints "
      "INTEGER NOT NULL, CurrentVictoryPoints INTEGER NOT NULL, "
      "BaseSpeedPoints DOUBLE NOT NULL, CurrentSpeedPoints DOUBLE NOT NULL, "
      "CONSTRAINT XYIndex UNIQUE(X, Y) );",
      "CREATE TABLE MapDescription (ID INTEGER PRIMARY KEY, LOCKED DATETIME, "
      "LOCKID INTEGER, Width INTEGER NOT NULL, Height INTEGER NOT NULL, "
      "CorrectedBaseAIs INTEGER NOT NULL);",
      "SELECT COUNT(*) from maphex;",
      "DROP DATABASE " + db,
      "CREATE DATABASE " + db,
      "",  // CREATE TABLE MapHex again
      "",  // CREATE TABLE MapDescription again
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
      // second run: the create attempt fails, both counts match, update
      "CREATE DATABASE " + db,
      "SELECT COUNT(*) from maphex;",
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
    std::string want = expected[i].empty() ? expected[i - 5] : expected[i];
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

}  // namespace
