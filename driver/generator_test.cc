// Runs the built tool as a user would: in a working directory of its own,
// without a terminal, and checks its whole standard output and exit status.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <functional>
#include <thread>
#include <vector>

#include "gamedb_builder/game_db_builder.h"
#include "stops/stop.h"
#include "test_support/banner_lines.h"
#include "test_support/fake_server_socket.h"
#include "test_support/temp_dir.h"
#include "test_support/tool_runner.h"

namespace {

const char kChecking[] = "Info:   Checking configuration file...\n\n";
const char kLoading[] =
    "Info:   Opening database and reading data...\n"
    "Info:   Database closed.\n";

const std::string kPrompt = "Press any key to exit...\n";
const char kSomeText[] =
    "Dear players,\nthe next turn is due on Friday. Send your orders to the "
    "game master before noon.\n";
const char kDecoding[] =
    "Info:   Getting rows.\n"
    "Info:   Getting columns.\n"
    "Info:   Sorting ?AVtMetaMapHex objects.\n";

// A run of the tool in dir beside a listening socket that stands in for the
// MySQL server, and whether the tool connected to it. It is given arguments,
// which change nothing.
struct RunBesideSocket {
  ToolRun run;
  bool connected;
};

RunBesideSocket runBesideSocket(const ScopedTempDir& dir,
                                bool withoutRoot = false) {
  FakeServerSocket server(dir.file("mysql.sock"));
  ToolOptions options = toolOptions({server.env()}, {"--ignored", "argument"});
  options.withoutRoot = withoutRoot;
  ToolRun run = runTool(dir.path(), options);
  return {run, server.connectionAttempted()};
}

// A damaged game database and the whole output the tool gives for it after
// the loading lines; every case ends with -3 and no connection.
struct DamagedCase {
  const char* name;
  GameDbBuilder db;
  std::string outputAfterLoading;
};

TEST(GeneratorStopsTest, DamagedGameDatabaseStopsBeforeAnyServerWork) {
  GameDbBuilder twoHexesShort = plainGameDb(2, 3);
  twoHexesShort.resize(kFirstHexTypeNameStart + kHexObjectStride * 4);
  GameDbBuilder lastHexCut = plainGameDb(1, 2);
  // The second hex object starts 256 + 160 - 13 = 403; its fields need 129.
  lastHexCut.resize(403 + 128);
  GameDbBuilder descAtEnd(200);
  descAtEnd.mapDescriptionAt(200 - 17 - 10, 1, 1).resize(200);
  // Six hex objects under a map of -2 x -3, as if that were a map of six.
  GameDbBuilder negativeBySix = plainGameDb(2, 3);
  negativeBySix.mapDescriptionAt(kMapDescriptionTypeNameStart, 0xFE, 0xFD);
  // A map description alone, of the given size bytes.
  const auto mapOnly = [](uint8_t rows, uint8_t columns) {
    GameDbBuilder db;
    db.mapDescriptionAt(kMapDescriptionTypeNameStart, rows, columns)
        .resize(kFirstHexTypeNameStart);
    return db;
  };
  const std::string notAGameDatabase =
      "Info:   Getting rows.\n"
      "Fatal:  game.db is not a game database: it holds neither a map "
      "description nor a single hex object. Nothing was written.\n" +
      kPrompt;
  const auto noRowOrColumn = [](const std::string& size) {
    return "Info:   Getting rows.\n"
           "Info:   Getting columns.\n"
           "Fatal:  The game database gives a map of " +
           size +
           ", but a map has at least one row and one column. Nothing was "
           "written.\n" +
           kPrompt;
  };

  const DamagedCase kCases[] = {
      {"empty file", GameDbBuilder(0), notAGameDatabase},
      {"file of zeros", GameDbBuilder(4096, 0), notAGameDatabase},
      {"text file", GameDbBuilder().bytesAt(0, kSomeText), notAGameDatabase},
      {"52 bytes without a map description",
       GameDbBuilder(52, 'x').bytesAt(20, "?AVtMetaMapHex@@"),
       "Info:   Getting rows.\n"
       "Fatal:  No map description found in the game database, and its 52 "
       "bytes are too few to hold the map size (bytes 48 and 52).\n" +
           kPrompt},
      {"map of 0 rows", mapOnly(0, 3), noRowOrColumn("0 rows x 3 columns")},
      {"map of 4 rows and 0 columns", mapOnly(4, 0),
       noRowOrColumn("4 rows x 0 columns")},
      {"map of -3 rows", mapOnly(0xFD, 3),
       noRowOrColumn("-3 rows x 3 columns")},
      {"map of -2 rows and -3 columns, whose product is positive",
       negativeBySix, noRowOrColumn("-2 rows x -3 columns")},
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
    dir.write("game.db", c.db.bytes());
    dir.write("config.txt", "game.db localhost root & webmap\n");
    const auto [run, connected] = runBesideSocket(dir);
    EXPECT_EQ(std::string(kBanner) + kChecking + kLoading + c.outputAfterLoading,
              run.out)
        << c.name;
    EXPECT_EQ(253, run.exitCode) << c.name;  // -3
    EXPECT_EQ(0u, run.out.find(kBanner)) << c.name;
    // The arguments change nothing but this line for the person who typed
    // them.
    EXPECT_EQ(
        "zelkor-generator takes no arguments and ignored '--ignored "
        "argument': this is a normal run, with config.txt from the folder it "
        "was started in. Help: zelkor-map-page --help, man zelkor-generator, "
        "or README.txt beside zelkor-generator.exe.\n",
        run.err)
        << c.name;
    EXPECT_FALSE(connected) << c.name;
  }
}

// A port where another kind of server listens (here one that speaks first,
// as an SSH server does): the stop says so, with the address tried.
TEST(GeneratorStopsTest, PortOfAnotherKindOfServerIsNamedSo) {
  const int listener = socket(AF_INET, SOCK_STREAM, 0);
  ASSERT_GE(listener, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  ASSERT_EQ(0, bind(listener, reinterpret_cast<sockaddr*>(&address), length));
  ASSERT_EQ(0, listen(listener, 8));
  ASSERT_EQ(0, getsockname(listener, reinterpret_cast<sockaddr*>(&address),
                           &length));
  const std::string port = std::to_string(ntohs(address.sin_port));
  std::atomic<bool> done{false};
  std::thread other([&] {
    std::vector<int> taken;
    while (!done) {
      pollfd p{listener, POLLIN, 0};
      if (poll(&p, 1, 50) <= 0) continue;
      const int connection = accept(listener, nullptr, nullptr);
      if (connection < 0) continue;
      const char kBanner[] = "SSH-2.0-OpenSSH_9.2p1\r\n";
      (void)!write(connection, kBanner, sizeof kBanner - 1);
      taken.push_back(connection);
    }
    for (int connection : taken) close(connection);
  });
  ScopedTempDir dir;
  dir.write("game.db", plainGameDb(1, 1).bytes());
  dir.write("config.txt", "game.db 127.0.0.1:" + port + " root & webmap\n");
  const ToolRun run = runTool(dir.path());
  done = true;
  other.join();
  close(listener);
  EXPECT_EQ(254, run.exitCode);  // -2
  EXPECT_NE(std::string::npos,
            run.out.find(
                "': Lost connection to server at 'handshake: reading initial "
                "communication packet'"))
      << run.out;
  EXPECT_NE(std::string::npos,
            run.out.find(continuationLines(
                             "Port " + port +
                             " on 127.0.0.1 took the connection, but no MySQL "
                             "server greeted there: another kind of server (a "
                             "web server?) listens on that port, or a firewall "
                             "cut the connection. Name the MySQL server's own "
                             "port in config.txt as HOST:PORT.") +
                         "        Tried port " + port +
                         " on 127.0.0.1, as config.txt names it.\n"
                         "Press any key to exit...\n"))
      << run.out;
}

}  // namespace

namespace {

// Odd and hostile input through the real executable: each case ends with a
// clear message and its documented status, and nothing reaches the server.
struct HostileCase {
  const char* name;
  std::string config;
  std::function<void(const ScopedTempDir&)> prepare;
  bool withoutRoot;
  int exitCode;
  std::string expectedTail;  // the end of standard output
};

TEST(GeneratorHostileInputTest, EndsWithAClearMessageAndItsStatus) {
  const std::string longPath(100000, 'a');
  GameDbBuilder manyDescriptions(200000, '?');
  for (size_t at = 16; at + 17 <= 200000; at += 17) {
    manyDescriptions.mapDescriptionAt(at, 2, 2);
  }
  GameDbBuilder threeHexes;
  threeHexes.mapDescriptionAt(64, 127, 127);
  for (int i = 0; i < 3; ++i) threeHexes.hexAt(256 + 160 * i, HexValues{});
  threeHexes.resize(256 + 160 * 3);
  // The stop for a game database that cannot be read, as config.txt names
  // it (path) and why (the words after the whole path and its config.txt).
  // The folder is the test's own, known only once it is made.
  std::string folder;
  const auto unreadable = [&folder](const std::string& path,
                                    const std::string& why) {
    const std::string config = pathAsShown(folder + "/config.txt");
    const std::string whole = pathAsShown(folder + "/" + path);
    const std::string named = whole + ", the path that " + config + " names";
    const std::string text =
        why == "missing"
            ? "Nothing is at " + named +
                  ". Write the game database's path as the first word of "
                  "config.txt: whole, or from the folder of config.txt."
        : why == "folder"
            ? named + ", is a folder. Write the path of the game database "
                      "file as the first word of config.txt."
        : why == "device"
            ? named + ", is a pipe or a device, not the game database file."
            : "This run may not read " + named +
                  ": let the account that runs the tool read it.";
    return "Fatal:  Couldn't find Quarrion database!\n"
           "Fatal:  Error (-1) encountered. Shutting down.\n"
           "Path: " +
           path + "\n" + continuationLines(text) +
           "\nPress any key to exit...";
  };
  const auto notFound = [&folder] {
    return "Fatal:  Configuration file not found!\n" +
           continuationLines("No config.txt in " + pathAsShown(folder) +
                             ", the folder the tool was started in. Start it "
                             "in the folder that holds config.txt (for a "
                             "shortcut or a scheduled task, its \"Start in\" "
                             "folder).") +
           kPrompt;
  };
  const std::string nothingAfterFifth =
      "Fatal:  Configuration file is invalid!\n"
      "        config.txt ends right after its fifth word: press Enter after "
      "the last\n"
      "        line, then save it.\n" +
      kPrompt;

  const struct {
    HostileCase c;
    std::function<std::string()> tail = nullptr;  // when it depends on the folder
  } kCases[] = {
      {{"no config.txt", "", nullptr, false, 97, ""},  // -99999
       [&] { return std::string(kChecking) + notFound(); }},
      {{"config.txt without a line end after the fifth word",
        "game.db localhost root & webmap", nullptr, false, 98,  // -99998
        std::string(kChecking) + nothingAfterFifth}},
      {{"missing game database", "saves/missing.db localhost root & webmap\n",
        nullptr, false, 255, ""},  // -1
       [&] {
         return std::string(kChecking) + kLoading +
                unreadable("saves/missing.db", "missing");
       }},
      {{"very long path", longPath + " localhost root & webmap\n", nullptr,
        false, 255, ""},
       [&] { return unreadable(longPath, "missing"); }},
      {{"NUL byte in the path",
        std::string("ga\0me.db localhost root & w\n", 28), nullptr, false, 98,
        "Fatal:  Configuration file is invalid!\n"
        "        A word of config.txt holds a NUL byte: write the file again "
        "as plain\n"
        "        text.\n" +
            kPrompt}},
      {{"config.txt saved by Notepad as \"Unicode\" (UTF-16 LE)",
        std::string("\xFF\xFEg\0 \0h\0 \0u\0 \0p\0 \0d\0\r\0\n\0", 22), nullptr,
        false, 98,
        "Fatal:  Configuration file is invalid!\n"
        "        config.txt is saved as UTF-16 (Notepad's \"Unicode\"), which "
        "the tool does\n"
        "        not read: save it as UTF-8 or ANSI (in Notepad: Save As, "
        "Encoding).\n" +
            kPrompt}},
      {{"non-ASCII path", "g\xC3\xA9.db localhost root & webmap\n",
       [](const ScopedTempDir& d) { d.write("g\xC3\xA9.db", ""); }, false, 253,
       "Fatal:  g\xC3\xA9.db is not a game database: it holds neither a map "
       "description nor a single hex object. Nothing was written.\n" +
           kPrompt}},
      {{"path is a directory", "saves localhost root & webmap\n",
        [](const ScopedTempDir& d) { mkdir(d.file("saves").c_str(), 0700); },
        false, 255, ""},
       [&] { return unreadable("saves", "folder"); }},
      {{"path is a FIFO", "pipe localhost root & webmap\n",
        [](const ScopedTempDir& d) { mkfifo(d.file("pipe").c_str(), 0600); },
        false, 255, ""},
       // Wine shows a Linux FIFO to a Windows program as nothing at all.
       [&] {
         return unreadable("pipe",
                           testingWindowsPrograms() ? "missing" : "device");
       }},
      {{"file the user may not read", "game.db localhost root & webmap\n",
       // Mode 0000: unreadable for its owner too, for root only once it runs
       // without root.
       [](const ScopedTempDir& d) {
         chmod(d.path().c_str(), 0755);
         chmod(d.write("game.db", "x").c_str(), 0000);
       },
       true, 255, ""},
       [&] { return unreadable("game.db", "not allowed"); }},
      {{"thousands of map descriptions", "game.db localhost root & webmap\n",
       [&](const ScopedTempDir& d) {
         d.write("game.db", manyDescriptions.bytes());
       },
       false, 253,
       "Fatal:  The game database holds 0 hex objects, but its map of 2 rows "
       "x 2 columns needs 4.\n" +
           kPrompt}},
      {{"map far larger than the file", "game.db localhost root & webmap\n",
       [&](const ScopedTempDir& d) { d.write("game.db", threeHexes.bytes()); },
       false, 253,
       "Fatal:  The game database holds 3 hex objects, but its map of 127 "
       "rows x 127 columns needs 16129.\n" +
           kPrompt}},
  };
  for (const auto& [c, tail] : kCases) {
    // Wine runs only as the user whose prefix it uses.
    if (c.withoutRoot && testingWindowsPrograms()) continue;
    ScopedTempDir dir;
    folder = dir.path();
    const std::string expectedTail = tail ? tail() : c.expectedTail;
    if (!c.config.empty()) {
      dir.write("config.txt", c.config);
      chmod(dir.file("config.txt").c_str(), 0644);
    }
    if (c.prepare) c.prepare(dir);
    const auto [run, connected] = runBesideSocket(dir, c.withoutRoot);
    EXPECT_EQ(c.exitCode, run.exitCode) << c.name;
    ASSERT_GE(run.out.size(), expectedTail.size()) << c.name << run.out;
    EXPECT_EQ(expectedTail, run.out.substr(run.out.size() - expectedTail.size()))
        << c.name;
    EXPECT_EQ(0u, run.out.find(kBanner)) << c.name;
    EXPECT_FALSE(connected) << c.name;
  }
}

}  // namespace
