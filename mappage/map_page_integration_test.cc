// zelkor-map-page against the real server: the page of a webmap the
// generator wrote, of one with a row missing, and no page at all where
// there is no webmap.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "test_support/webmap_run_fixture.h"

namespace {

class MapPageRunTest : public WebmapRunTest {
 protected:
  ToolRun runMapPage(const std::vector<std::string>& args = {}) {
    ToolOptions options = toolOptions(env_, args);
    options.program = mapPagePath();
    return runTool(dir_.path(), options);
  }
  std::string page() { return readWholeFile(dir_.file("webmap.html")); }
};

TEST_F(MapPageRunTest, DrawsOneHexagonPerRowWithHeadingAndLegend) {
  writeGameDb(plainGameDb(12, 20));
  ASSERT_EQ(0, run().exitCode);
  const ToolRun r = runMapPage();
  EXPECT_EQ("Info:   Wrote webmap.html: 240 hexes drawn.\n", r.out);
  EXPECT_EQ("", r.err);
  EXPECT_EQ(0, r.exitCode);
  const std::string html = page();
  // One data row per hex, for the script that draws them.
  const size_t data = html.find(",d:\"");
  ASSERT_NE(std::string::npos, data);
  EXPECT_EQ(239u, occurrences(html.substr(data, html.find("\"}", data) - data),
                              ";"));
  EXPECT_NE(std::string::npos,
            html.find("<h1>Webmap: map of 20 columns x 12 rows, 240 hexes "
                      "drawn</h1>"));
  EXPECT_NE(std::string::npos, html.find("<h2>Political control</h2>"));
  EXPECT_NE(std::string::npos, html.find("Empire 5"));
  EXPECT_EQ(std::string::npos, html.find("class=\"warning\""));
  // The rows as the tool writes them (hex 239 of the plain map: X 19, Y 11),
  // short: LOCKED and LOCKID are NULL until a web page sets them.
  EXPECT_NE(std::string::npos, html.find(";,19,11,5,16384,0,16,5,8\"}"));
  struct stat info {};
  ASSERT_EQ(0, stat(dir_.file("webmap.html").c_str(), &info));
  EXPECT_EQ(0644u, info.st_mode & 0777) << "readable by the web server";
}

TEST_F(MapPageRunTest, RowMissingGivesTheWarningLine) {
  ASSERT_EQ(0, run().exitCode);
  execute("DELETE FROM maphex WHERE ID = 4", database_);
  const ToolRun r = runMapPage({"--output", "other.html"});
  EXPECT_EQ(
      "Info:   Wrote other.html: 5 hexes drawn (the webmap is not "
      "complete).\n",
      r.out);
  EXPECT_EQ(0, r.exitCode);
  EXPECT_NE(std::string::npos,
            readWholeFile(dir_.file("other.html"))
                .find("<p class=\"warning\">Warning: The webmap holds 5 hex "
                      "rows, but its map of 3 x 2 has 6 hexes.</p>"));
}

TEST_F(MapPageRunTest, NoWebmapLeavesAnExistingPageAlone) {
  dir_.write("webmap.html", "yesterday's page");
  const ToolRun r = runMapPage();
  EXPECT_EQ(251, r.exitCode);  // -5
  EXPECT_EQ("Fatal:  No webmap to draw in the database '" + database_ +
                "': Unknown database '" + database_ +
                "'\n"
                "        Run zelkor-generator first, or check the database "
                "name in config.txt.\n"
                "        webmap.html was not written.\n",
            r.out);
  EXPECT_EQ("yesterday's page", page());

  // A database without the webmap's tables.
  execute("CREATE DATABASE `" + database_ + "`");
  const ToolRun noTables = runMapPage();
  EXPECT_EQ(251, noTables.exitCode);
  EXPECT_NE(std::string::npos, noTables.out.find("doesn't exist"))
      << noTables.out;
  EXPECT_EQ("yesterday's page", page());
}

TEST_F(MapPageRunTest, OptionsAndUnreachableServer) {
  const ToolRun help = runMapPage({"--help"});
  EXPECT_EQ(0, help.exitCode);
  EXPECT_EQ(0u, help.out.find("Usage: zelkor-map-page [--output FILE]\n"));
  const ToolRun version = runMapPage({"--version"});
  EXPECT_EQ("zelkor-map-page " ZELKOR_VERSION "\n", version.out);
  const ToolRun wrong = runMapPage({"--colour"});
  EXPECT_EQ(2, wrong.exitCode);
  EXPECT_EQ(0u, wrong.err.find("zelkor-map-page: unknown option '--colour'"));

  // No webmap yet: nothing is written under the name --output= gives.
  const ToolRun noWebmap = runMapPage({"--output=x.html"});
  EXPECT_EQ(251, noWebmap.exitCode) << noWebmap.out;
  EXPECT_NE(std::string::npos, noWebmap.out.find("x.html was not written."));

  ToolOptions gone = toolOptions({"MYSQL_UNIX_PORT=" + dir_.file("none.sock")});
  gone.program = mapPagePath();
  const ToolRun r = runTool(dir_.path(), gone);
  EXPECT_EQ(254, r.exitCode);  // -2
  EXPECT_EQ(0u, r.out.find("Fatal:  Cannot connect to the MySQL server on host "
                           "'localhost': "));
}

TEST_F(MapPageRunTest, ConfigurationStatusesAreTheGenerators) {
  dir_.write("config.txt", "only three words");
  EXPECT_EQ(98, runMapPage().exitCode);
  ScopedTempDir empty;
  ToolOptions options;
  options.program = mapPagePath();
  EXPECT_EQ(97, runTool(empty.path(), options).exitCode);
}

}  // namespace
