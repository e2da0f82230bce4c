// The map page as a player uses it: Debian's Chromium, driven with real
// input events by map_page_browser_test.js (puppeteer-core, installed by
// scripts/install-deps into build-node/), opens the page of a small known
// map on a phone and a desktop window and zooms, pans, clicks, taps, goes
// to a hex and reads colours; and the page of the largest map, whose
// colours it reads and whose hexes it clicks, also as a browser without
// WebAssembly draws it.
#include <gtest/gtest.h>

#include "mappage/map_page.h"
#include "test_support/temp_dir.h"
#include "test_support/tool_runner.h"

namespace {

// A map that map_page_browser_test.js knows: 20 x 12 hexes, and 127 x 127.
WebmapContent knownMap(int columns, int rows) {
  const char* const kControls[] = {"0", "3", "6", "15", "8", "1", "9"};
  WebmapContent webmap;
  webmap.descriptions = {
      {"777777", std::to_string(columns), std::to_string(rows)}};
  for (int i = 0; i < columns * rows; ++i) {
    webmap.hexes.push_back({std::to_string(i), std::to_string(i % columns),
                            std::to_string(i / columns), kControls[i % 7],
                            "8192", i % 5 == 0 ? "4" : "0",
                            i % 7 == 0 ? "2" : "0", "1", "1", "2", "2", "1",
                            "1", "", ""});
  }
  return webmap;
}

// A map whose columns and rows run through 0: X from -3 to 2, Y from -2 to
// 1, every hex without control but (-3, -1), empire 0's, and (1, -2),
// empire 3's.
WebmapContent mapAroundZero() {
  WebmapContent webmap;
  webmap.descriptions = {{"777777", "6", "4"}};
  int id = 0;
  for (int y = -2; y <= 1; ++y) {
    for (int x = -3; x <= 2; ++x) {
      const std::string control = x == -3 && y == -1 ? "0"
                                  : x == 1 && y == -2 ? "3"
                                                      : "15";
      webmap.hexes.push_back({std::to_string(id++), std::to_string(x),
                              std::to_string(y), control, "8192", "0", "0",
                              "1", "1", "2", "2", "1", "1", "", ""});
    }
  }
  return webmap;
}

TEST(MapPageBrowserTest, PlayerControls) {
  ScopedTempDir dir;
  const std::string page =
      dir.write("webmap.html", renderMapPage(knownMap(20, 12)).html);
  const std::string largeHtml = renderMapPage(knownMap(127, 127)).html;
  const std::string large = dir.write("large.html", largeHtml);
  // The same page as a browser that cannot run its painter has it.
  const std::string painterOpen = "var PAINTER=\"";
  const size_t painter = largeHtml.find(painterOpen);
  ASSERT_NE(std::string::npos, painter);
  const size_t painterEnd = largeHtml.find('"', painter + painterOpen.size());
  const std::string withoutPainter =
      dir.write("large-without-painter.html",
                largeHtml.substr(0, painter) + painterOpen + "\"" +
                    largeHtml.substr(painterEnd + 1));
  const std::string aroundZero =
      dir.write("around-zero.html", renderMapPage(mapAroundZero()).html);
  ToolOptions options =
      toolOptions({"NODE_PATH=" ZELKOR_SOURCE_DIR "/build-node/node_modules"},
                  {ZELKOR_SOURCE_DIR "/mappage/map_page_browser_test.js", page,
                   large, withoutPainter, aroundZero});
  options.program = "node";
  options.deadline = std::chrono::seconds(180);
  const ToolRun run = runTool(dir.path(), options);
  EXPECT_EQ(0, run.exitCode) << run.out << run.err;
  std::cout << run.out;
  EXPECT_NE(std::string::npos, run.out.find("all checks passed"))
      << run.out << run.err;
}

}  // namespace
