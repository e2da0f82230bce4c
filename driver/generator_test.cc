// Runs the built tool as a user would: in a working directory of its own,
// without a terminal, and checks its whole standard output and exit status.
#include <gtest/gtest.h>

#include "driver/banner.h"
#include "test_support/fake_server_socket.h"
#include "test_support/game_db_builder.h"
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

const char kDecoding[] =
    "Info:   Getting rows.\n"
    "Info:   Getting columns.\n"
    "Info:   Sorting ?AVtMetaMapHex objects.\n";

// The tool's run on a damaged game database: its whole output after the
// loading lines, its exit status, and whether it went near the server.
struct DamagedCase {
  const char* name;
  GameDbBuilder db;
  std::string outputAfterLoading;
};

TEST(GeneratorStopsTest, DamagedGameDatabaseStopsBeforeAnyServerWork) {
  const std::string kPrompt = "Press any key to exit...\n";
  GameDbBuilder twoHexesShort = gameDbWithMap(
      2, 3, [](int i) { return plainHex(i, 3); });
  twoHexesShort.resize(kFirstHexTypeNameStart + kHexObjectStride * 4);
  GameDbBuilder lastHexCut =
      gameDbWithMap(1, 2, [](int i) { return plainHex(i, 2); });
  // The second hex object starts 256 + 160 - 13 = 403; its fields need 129.
  lastHexCut.resize(403 + 128);
  GameDbBuilder descAtEnd(200);
  descAtEnd.mapDescriptionAt(200 - 17 - 10, 1, 1).resize(200);

  const DamagedCase kCases[] = {
      {"empty file", GameDbBuilder(0),
       "Info:   Getting rows.\n"
       "Fatal:  No map description found in the game database, and its 0 "
       "bytes are too few to hold the map size (bytes 48 and 52).\n" +
           kPrompt},
      {"52 bytes without a map description", GameDbBuilder(52, 'x'),
       "Info:   Getting rows.\n"
       "Fatal:  No map description found in the game database, and its 52 "
       "bytes are too few to hold the map size (bytes 48 and 52).\n" +
           kPrompt},
      {"map description in the last bytes", descAtEnd,
       "Info:   Getting rows.\n"
       "Fatal:  The map description at byte offset 160 runs past the end of "
       "the game database: its map size needs byte 212, the file has 200 "
       "bytes.\n" +
           kPrompt},
      {"fewer hex objects than the map needs", twoHexesShort,
       std::string(kDecoding) +
           "Fatal:  The game database holds 4 hex objects, but its map of 2 "
           "rows x 3 columns needs 6.\n" +
           kPrompt},
      {"last hex object cut off", lastHexCut,
       std::string(kDecoding) +
           "Fatal:  Hex object 1 at byte offset 403 runs past the end of the "
           "game database: its fields reach byte 531, the file has 531 "
           "bytes.\n" +
           kPrompt},
  };
  for (const DamagedCase& c : kCases) {
    ScopedTempDir dir;
    FakeServerSocket server(dir.file("mysql.sock"));
    dir.write("game.db", c.db.bytes());
    dir.write("config.txt", "game.db localhost root & webmap\n");
    const ToolRun run = runTool(dir.path(), {}, {server.env()});
    EXPECT_EQ(bannerText() + kChecking + kLoading + c.outputAfterLoading,
              run.out)
        << c.name;
    EXPECT_EQ(253, run.exitCode) << c.name;  // -3
    EXPECT_FALSE(server.connectionAttempted()) << c.name;
  }
}

}  // namespace
