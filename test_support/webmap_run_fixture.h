// The fixture of the integration tests that run the built tool against a
// real MariaDB server: a scratch folder with game.db and config.txt, a
// uniquely named webmap database dropped afterwards, and the console lines
// and rows a run is expected to give.
#ifndef ZELKOR_TEST_SUPPORT_WEBMAP_RUN_FIXTURE_H_
#define ZELKOR_TEST_SUPPORT_WEBMAP_RUN_FIXTURE_H_

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "gamedb_builder/game_db_builder.h"
#include "test_support/temp_dir.h"
#include "test_support/test_server.h"
#include "test_support/tool_runner.h"

inline constexpr char kBeforeServerWork[] =
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
inline constexpr char kCreated[] =
    "Info:   New webmap database created.\n"
    "        Updating structure...\n";
inline constexpr char kFound[] = "Info:   Found webmap database. Updating...\n";
inline constexpr char kThrownOut[] =
    "Info:   Current webmap database doesn't appear to be valid.  Throwing "
    "out.\n"
    "        A new datbase will be created.\n";
inline constexpr char kDropped[] = "Info:   Database dropped.\n";
inline constexpr char kValid[] =
    "Info:   Current webmap database appears valid.\n";
inline constexpr char kComplete[] =
    "Info:   Webmap database generation complete.  Exiting.\n";

// The maphex rows of the 2 x 3 map of plainHex, as the server returns them:
// ID, X, Y, PoliticalControl, TerrainType, PlanetType, StarbaseType,
// BaseEconomicPoints, CurrentEconomicPoints, BaseVictoryPoints,
// CurrentVictoryPoints, BaseSpeedPoints, CurrentSpeedPoints.
inline const Rows kPlainMapRows = {
    {"0", "0", "0", "0", "64", "1", "0", "0", "0", "0", "0", "1", "1"},
    {"1", "1", "0", "1", "64", "0", "1", "1", "1", "1", "1", "1", "1"},
    {"2", "2", "0", "2", "4096", "0", "0", "2", "2", "2", "2", "1", "1"},
    {"3", "0", "1", "3", "8192", "0", "2", "3", "3", "3", "3", "1", "1"},
    {"4", "1", "1", "4", "16384", "0", "0", "4", "4", "4", "4", "1", "1"},
    {"5", "2", "1", "5", "64", "0", "0", "5", "5", "5", "5", "1", "1"},
};

inline constexpr char kSelectHexes[] =
    "SELECT ID, X, Y, PoliticalControl, TerrainType, PlanetType, "
    "StarbaseType, BaseEconomicPoints, CurrentEconomicPoints, "
    "BaseVictoryPoints, CurrentVictoryPoints, BaseSpeedPoints, "
    "CurrentSpeedPoints FROM maphex ORDER BY ID";
inline constexpr char kSelectDescription[] =
    "SELECT ID, Width, Height, CorrectedBaseAIs FROM mapdescription";

// The whole output after the banner of a first run (the webmap created,
// found empty, thrown out and created again) and of an update run.
inline const std::string kFirstRunLines = std::string(kBeforeServerWork) +
                                          kCreated + kThrownOut + kDropped +
                                          kCreated + kComplete;
inline const std::string kUpdateRunLines =
    std::string(kBeforeServerWork) + kFound + kValid + kComplete;

// The 2 x 3 map of plainHex whose rows kPlainMapRows lists.
GameDbBuilder plainMap();

// What a run wrote after the banner (which it checks).
std::string outputAfterBanner(const ToolRun& run);

// Two runs of the plain map by run, on a server without its webmap: the
// first creates it, the second updates it in place; both end 0 with their
// whole output as expected. what names the case in a failure.
void expectFirstRunThenUpdateRun(const std::function<ToolRun()>& run,
                                 const std::string& what = "");

// One statement as the server's general query log received it.
struct LoggedStatement {
  std::string connection;  // the server's thread id
  std::string command;     // "Connect", "Query", ...
  std::string argument;
};

// Turns the server's general query log on (into the mysql.general_log
// table). It stays on: turning it off would cut short the log of a test
// running beside this one.
void startGeneralLog(const std::string& socket = serverSocket());
// What the connections of user sent, in order.
std::vector<LoggedStatement> loggedStatements(
    const std::string& user, const std::string& socket = serverSocket());

class WebmapRunTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Writes config.txt for this test's database.
  void configure(const std::string& user, const std::string& password,
                 const std::string& host = "localhost");
  void writeGameDb(const GameDbBuilder& db);
  // Runs the tool in the scratch folder, with env_ and env added to its
  // environment.
  ToolRun run(const std::vector<std::string>& env = {});
  // The output after the banner.
  static std::string afterBanner(const ToolRun& run);
  Rows hexes();
  Rows description();
  // Waits, for a minute at most, until maphex holds at least rows rows (a
  // run writing them in another thread).
  void waitForHexRows(int64_t rows);
  // Creates a user with password pw (no password when empty) on the test's
  // server, dropped when the test ends.
  std::string createUser(const std::string& prefix, const std::string& pw);

  ScopedTempDir dir_;
  std::string socket_;  // the server the test's own statements go to
  std::vector<std::string> env_;
  std::string database_;
  std::vector<std::string> users_;
};

#endif  // ZELKOR_TEST_SUPPORT_WEBMAP_RUN_FIXTURE_H_
