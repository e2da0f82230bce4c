// examples/publish-webmap as admins run it: from cron with relative paths,
// by hand without its arguments, and by hand in a terminal when the
// generator fails.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "test_support/webmap_run_fixture.h"

namespace {

const std::string kScript = ZELKOR_SOURCE_DIR "/examples/publish-webmap";
constexpr char kUsage[] =
    "usage: publish-webmap FOLDER-OF-CONFIG.TXT WEB-PAGE-PATH\n";

class PublishWebmapTest : public WebmapRunTest {
 protected:
  // Runs the script in folder with these arguments, with the programs under
  // test in place of the installed ones.
  ToolRun publish(const std::string& folder, std::vector<std::string> args,
                  bool controllingTerminal = false) {
    ToolOptions o = toolOptions(
        {"ZELKOR_GENERATOR=" + toolPath(), "ZELKOR_MAP_PAGE=" + mapPagePath()},
        std::move(args));
    o.program = kScript;
    o.controllingTerminal = controllingTerminal;
    o.deadline = std::chrono::seconds(30);
    return runTool(folder, o);
  }
};

TEST_F(PublishWebmapTest, RelativePathsCountFromWhereItStarts) {
  ASSERT_EQ(0, mkdir(dir_.file("www").c_str(), 0755));
  // dir_ holds config.txt and the game database; publish from its parent.
  const std::string parent = dir_.path().substr(0, dir_.path().rfind('/'));
  const std::string folder = dir_.path().substr(parent.size() + 1);
  const ToolRun r = publish(parent, {folder, folder + "/www/webmap.html"});
  EXPECT_EQ(0, r.exitCode) << r.out << r.err;
  EXPECT_NE(std::string::npos,
            readWholeFile(dir_.file("www/webmap.html"))
                .find("Webmap: map of 3 columns x 2 rows, 6 hexes drawn"));
}

TEST_F(PublishWebmapTest, ArgumentsAreCheckedBeforeAnythingRuns) {
  const struct {
    const char* name;
    std::vector<std::string> args;
    const char* error;  // before the usage line
  } kCases[] = {
      {"no argument", {}, ""},
      {"one argument", {"."}, ""},
      {"three arguments", {".", "page.html", "more"}, ""},
      {"no config.txt", {"www", "page.html"}, "no config.txt in "},
      {"no folder for the page",
       {".", "missing/page.html"},
       "cannot write into "},
  };
  ASSERT_EQ(0, mkdir(dir_.file("www").c_str(), 0755));
  for (const auto& c : kCases) {
    const ToolRun r = publish(dir_.path(), c.args);
    EXPECT_EQ(2, r.exitCode) << c.name;
    EXPECT_EQ("", r.out) << c.name << ": nothing ran";
    if (*c.error != '\0') {
      EXPECT_EQ(0u, r.err.find(std::string("publish-webmap: ") + c.error))
          << c.name << ": " << r.err;
    }
    EXPECT_NE(std::string::npos, r.err.find(kUsage)) << c.name << ": " << r.err;
  }
  EXPECT_TRUE(readWholeFile(dir_.file("page.html")).empty());
}

// Started by hand in a terminal, a failing generator must not wait for a key
// there: the script is meant to run unattended.
TEST_F(PublishWebmapTest, FailingGeneratorInATerminalDoesNotWait) {
  configure("root", "wrong-password");
  const ToolRun r = publish(dir_.path(), {".", "page.html"}, true);
  EXPECT_EQ(254, r.exitCode) << r.out << r.err;  // the generator's -2
  EXPECT_NE(std::string::npos, r.out.find("Press any key to exit...\n"));
  EXPECT_NE(std::string::npos,
            r.err.find("publish-webmap: zelkor-generator ended with status "
                       "254; nothing was published"))
      << r.err;
  EXPECT_TRUE(readWholeFile(dir_.file("page.html")).empty());
}

}  // namespace
