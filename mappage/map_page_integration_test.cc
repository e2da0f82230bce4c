// zelkor-map-page against the real server: the page of a webmap the
// generator wrote, of one with a row missing, and no page at all where
// there is no webmap.
#include <gtest/gtest.h>

#include <map>
#include <sys/stat.h>

#include <string>
#include <tuple>
#include <vector>

#include "test_support/webmap_run_fixture.h"

namespace {

// The text a short row's value takes at a place, read from the page's data
// (v: per value a store [texts, digits] or null) as the page's script reads
// it: the place's number in the store's texts, in digits of 62 of equal
// width.
std::string storedText(const std::string& html, int value, int place,
                       int places) {
  static const std::string kDigits =
      "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  size_t at = html.find(",v:[") + 4;
  // A store [["text",...],"digits"]: where its texts end, where its digits
  // begin and end.
  const auto parts = [&html](size_t store) {
    const size_t textsEnd = html.find("],\"", store);
    return std::make_tuple(textsEnd, textsEnd + 3, html.find('"', textsEnd + 3));
  };
  for (int v = 0; v < value; ++v) {
    at = html.compare(at, 4, "null") == 0 ? at + 5
                                          : std::get<2>(parts(at)) + 3;
  }
  const auto [textsEnd, digits, digitsEnd] = parts(at);
  std::vector<std::string> texts;
  for (size_t t = at + 3; t < textsEnd; t = html.find('"', t) + 3) {
    texts.push_back(html.substr(t, html.find('"', t) - t));
  }
  const size_t width = (digitsEnd - digits) / places;
  size_t number = 0;
  for (size_t k = 0; k < width; ++k) {
    number = number * 62 + kDigits.find(html[digits + place * width + k]);
  }
  return number < texts.size() ? texts[number] : "(none)";
}

class MapPageRunTest : public WebmapRunTest {
 protected:
  ToolRun runMapPage(const std::vector<std::string>& args = {}) {
    ToolOptions options = toolOptions(env_, args);
    options.program = mapPagePath();
    return runTool(dir_.path(), options);
  }
  std::string page() { return readWholeFile(dir_.file("webmap.html")); }
};

// The standings of the largest map, one row per control value, add up to
// what the webmap holds, as a query of the webmap adds it up.
TEST_F(MapPageRunTest, StandingsOfTheLargestMapAddUpTheWebmap) {
  writeGameDb(gameDbWithMap(127, 127, [](int i) {
    HexValues f = plainHex(i, 127);
    if (i % 13 == 0) f.politicalControl = 15;
    return f;
  }));
  ASSERT_EQ(0, run().exitCode);
  ASSERT_EQ(0, runMapPage().exitCode);
  const std::string html = page();

  // The page's rows: the name's text, then the numbers, cell by cell.
  std::map<std::string, std::vector<std::string>> shown;
  const std::string rowStart = "<tr><th scope=\"row\">";
  for (size_t at = html.find(rowStart); at != std::string::npos;
       at = html.find(rowStart, at + 1)) {
    const std::string row = html.substr(at, html.find("</tr>", at) - at);
    std::vector<std::string> cells;
    std::string text;
    bool inTag = false;
    for (char c : row) {
      if (c == '<') {
        inTag = true;
        if (!text.empty()) cells.push_back(text);
        text.clear();
      } else if (c == '>') {
        inTag = false;
      } else if (!inTag) {
        text += c;
      }
    }
    ASSERT_EQ(6u, cells.size()) << row;
    shown[cells[0]] = {cells.begin() + 1, cells.end()};
  }

  const Rows added = query(
      "SELECT PoliticalControl, COUNT(*), SUM(PlanetType <> 0), "
      "SUM(StarbaseType <> 0), SUM(CurrentEconomicPoints), "
      "SUM(CurrentVictoryPoints) FROM maphex GROUP BY PoliticalControl",
      database_, socket_);
  ASSERT_EQ(10u, added.size());  // empires 0 to 8, and 15
  long hexes = 0;
  for (const std::vector<std::string>& r : added) {
    const int control = std::stoi(r[0]);
    const std::string name = control <= 8 ? "Empire " + r[0]
                             : control == 15 ? "No control"
                                             : "Other value " + r[0];
    EXPECT_EQ((std::vector<std::string>{r.begin() + 1, r.end()}), shown[name])
        << name;
    hexes += std::stol(r[1]);
  }
  EXPECT_EQ(10u, shown.size());
  EXPECT_EQ(16129, hexes);
}

TEST_F(MapPageRunTest, DrawsOneHexagonPerRowWithHeadingAndLegend) {
  writeGameDb(plainGameDb(12, 20));
  ASSERT_EQ(0, run().exitCode);
  const ToolRun r = runMapPage();
  EXPECT_EQ("Info:   Wrote webmap.html: 240 hexes drawn.\n", r.out);
  EXPECT_EQ("", r.err);
  EXPECT_EQ(0, r.exitCode);
  const std::string html = page();
  // Every hex as the tool writes it: each ID its place's number (""), the
  // place's X and Y (null), no place without a row, no whole row.
  EXPECT_NE(std::string::npos, html.find(",v:[[[\"\"],\"\"],null,null,["));
  EXPECT_NE(std::string::npos, html.find(",p:\"\",d:\"\"}"));
  // Hex 239 of the plain map (X 19, Y 11, the last place), its values as
  // the script reads them.
  const char* const kHex239[] = {"5", "16384", "0", "16", "5", "8"};
  for (int value = 3; value < 9; ++value) {
    EXPECT_EQ(kHex239[value - 3], storedText(html, value, 239, 240)) << value;
  }
  EXPECT_NE(std::string::npos,
            html.find("<h1>Webmap: map of 20 columns x 12 rows, 240 hexes "
                      "drawn</h1>"));
  EXPECT_NE(std::string::npos, html.find("<h2>Political control</h2>"));
  EXPECT_NE(std::string::npos, html.find("Empire 5"));
  EXPECT_EQ(std::string::npos, html.find("class=\"warning\""));
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
