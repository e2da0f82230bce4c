#include "test_support/webmap_run_fixture.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "test_support/banner_lines.h"
#include "webmap/webmap_tables.h"

GameDbBuilder plainMap() { return plainGameDb(2, 3); }

void startGeneralLog(const std::string& socket) {
  execute("SET GLOBAL log_output = 'TABLE'", "", socket);
  execute("SET GLOBAL general_log = 1", "", socket);
}

std::vector<LoggedStatement> loggedStatements(const std::string& user,
                                              const std::string& socket) {
  const Rows log = query(
      "SELECT thread_id, command_type, CONVERT(argument USING utf8mb4) "
      "FROM mysql.general_log WHERE thread_id IN (SELECT thread_id FROM "
      "mysql.general_log WHERE command_type = 'Connect' AND argument LIKE '" +
          user + "@%') ORDER BY event_time, thread_id",
      "", socket);
  std::vector<LoggedStatement> statements;
  for (const auto& row : log) statements.push_back({row[0], row[1], row[2]});
  return statements;
}

void WebmapRunTest::SetUp() {
  socket_ = serverSocket();
  database_ = uniqueName("webmap");
  dir_.write("game.db", plainMap().bytes());
  configure("root", "&");
}

void WebmapRunTest::TearDown() {
  try {
    execute("DROP DATABASE IF EXISTS " + quoteIdentifier(database_), "",
            socket_);
    for (const std::string& user : users_) {
      execute("DROP USER IF EXISTS '" + user + "'@'" + toolLoginHost() + "'",
              "", socket_);
    }
  } catch (...) {
    // The server is gone or broken; the test has said so already.
  }
}

void WebmapRunTest::configure(const std::string& user,
                              const std::string& password,
                              const std::string& host) {
  dir_.write("config.txt", "game.db " + host + " " + user + " " + password +
                               " " + database_ + "\n");
}

void WebmapRunTest::writeGameDb(const GameDbBuilder& db) {
  dir_.write("game.db", db.bytes());
}

ToolRun WebmapRunTest::run(const std::vector<std::string>& env) {
  std::vector<std::string> all = env_;
  all.insert(all.end(), env.begin(), env.end());
  return runTool(dir_.path(), toolOptions(all));
}

std::string outputAfterBanner(const ToolRun& run) {
  const std::string banner = kBanner;
  EXPECT_EQ(banner, run.out.substr(0, banner.size()));
  return run.out.substr(std::min(banner.size(), run.out.size()));
}

void expectFirstRunThenUpdateRun(const std::function<ToolRun()>& run,
                                 const std::string& what) {
  const ToolRun first = run();
  EXPECT_EQ(kFirstRunLines, outputAfterBanner(first)) << what;
  EXPECT_EQ(0, first.exitCode) << what;
  const ToolRun second = run();
  EXPECT_EQ(kUpdateRunLines, outputAfterBanner(second)) << what;
  EXPECT_EQ(0, second.exitCode) << what;
}

std::string WebmapRunTest::afterBanner(const ToolRun& run) {
  return outputAfterBanner(run);
}

Rows WebmapRunTest::hexes() { return query(kSelectHexes, database_, socket_); }

void WebmapRunTest::waitForHexRows(int64_t rows) {
  const auto count = [&] {
    try {
      return std::stoll(
          query("SELECT COUNT(*) FROM maphex", database_, socket_).at(0).at(0));
    } catch (const std::exception&) {
      return 0LL;  // not created yet
    }
  };
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (count() < rows && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
}

Rows WebmapRunTest::description() {
  return query(kSelectDescription, database_, socket_);
}

std::string WebmapRunTest::createUser(const std::string& prefix,
                                      const std::string& pw) {
  const std::string user = uniqueName(prefix);
  execute("CREATE USER '" + user + "'@'" + toolLoginHost() + "'" +
              (pw.empty() ? "" : " IDENTIFIED BY '" + pw + "'"),
          "", socket_);
  users_.push_back(user);
  return user;
}
