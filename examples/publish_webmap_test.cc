// The publish scripts as admins run them: examples/publish-webmap from cron
// with relative paths, and for the Windows programs publish-webmap.cmd
// beside them under Wine's cmd, started with cmd /c (as Task Scheduler
// does) and with call from another script. Each: a good run publishes the
// page; a failed run publishes nothing and ends with the generator's
// status; wrong arguments, a missing folder and a missing program give
// their words and status before anything runs.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "test_support/webmap_run_fixture.h"

namespace {

const std::string kLinuxScript = ZELKOR_SOURCE_DIR "/examples/publish-webmap";

// How the script is started: cmd /c, or call from a script (the same as
// cmd /c for the Linux script).
enum class Start { kDirectly, kCalled };

class PublishWebmapTest : public WebmapRunTest {
 protected:
  // The folder of the Windows programs and their script.
  static std::string windowsFolder() {
    const std::string tool = toolPath();
    return tool.substr(0, tool.rfind('/'));
  }

  // What the script writes before its usage line, by system.
  static std::string usage() {
    return testingWindowsPrograms()
               ? "usage: publish-webmap.cmd FOLDER-OF-CONFIG.TXT WEB-PAGE-PATH\n"
               : "usage: publish-webmap FOLDER-OF-CONFIG.TXT WEB-PAGE-PATH\n";
  }

  // Runs the script in folder with these arguments (written with '/'; the
  // Windows script gets '\'), with the programs under test. script: the
  // Windows script to run, when not the one beside the programs.
  ToolRun publish(const std::string& folder, std::vector<std::string> args,
                  Start start = Start::kDirectly,
                  const std::string& script = "") {
    if (!testingWindowsPrograms()) {
      ToolOptions o = toolOptions({"ZELKOR_GENERATOR=" + toolPath(),
                                   "ZELKOR_MAP_PAGE=" + mapPagePath()},
                                  std::move(args));
      o.program = kLinuxScript;
      o.deadline = std::chrono::seconds(30);
      return runTool(folder, o);
    }
    for (std::string& arg : args) {
      for (char& c : arg) {
        if (c == '/') c = '\\';
      }
    }
    const std::string cmd =
        pathAsShown(script.empty() ? windowsFolder() + "/publish-webmap.cmd"
                                   : script);
    std::vector<std::string> words = {"/c"};
    if (start == Start::kDirectly) {
      words.push_back(cmd);
    } else {
      // Wine's call hands back 1 for every failed status: the exact one is
      // in PUBLISH_WEBMAP_STATUS, and the two must agree on success.
      words.push_back(pathAsShown(dir_.write(
          "caller.cmd",
          "@echo off\r\n"
          "set PUBLISH_WEBMAP_STATUS=\r\n"
          "call \"" +
              cmd +
              "\" %*\r\n"
              "set called=%ERRORLEVEL%\r\n"
              "if \"%PUBLISH_WEBMAP_STATUS%\"==\"\" exit /b 97\r\n"
              "if \"%PUBLISH_WEBMAP_STATUS%\"==\"0\" if not \"%called%\"==\"0\" "
              "exit /b 98\r\n"
              "if not \"%PUBLISH_WEBMAP_STATUS%\"==\"0\" if \"%called%\"==\"0\" "
              "exit /b 99\r\n"
              "exit /b %PUBLISH_WEBMAP_STATUS%\r\n")));
    }
    words.insert(words.end(), args.begin(), args.end());
    ToolOptions o = toolOptions({}, words);
    o.program = "cmd.exe";
    o.deadline = std::chrono::seconds(60);
    return runTool(folder, o);
  }

  // The ways the script is started on this system.
  static std::vector<Start> starts() {
    if (testingWindowsPrograms()) return {Start::kDirectly, Start::kCalled};
    return {Start::kDirectly};
  }
};

const char* nameOf(Start start) {
  return start == Start::kCalled ? "call" : "directly";
}

TEST_F(PublishWebmapTest, RelativePathsCountFromWhereItStarts) {
  std::filesystem::create_directory(dir_.file("www"));
  // dir_ holds config.txt and the game database; publish from its parent.
  const std::string parent = dir_.path().substr(0, dir_.path().rfind('/'));
  const std::string folder = dir_.path().substr(parent.size() + 1);
  for (const Start start : starts()) {
    std::filesystem::remove(dir_.file("www/webmap.html"));
    const ToolRun r = publish(parent, {folder, folder + "/www/webmap.html"},
                              start);
    EXPECT_EQ(0, r.exitCode) << nameOf(start) << r.out << r.err;
    EXPECT_NE(std::string::npos, r.out.find(kComplete)) << nameOf(start);
    EXPECT_NE(std::string::npos,
              readWholeFile(dir_.file("www/webmap.html"))
                  .find("Webmap: map of 3 columns x 2 rows, 6 hexes drawn"))
        << nameOf(start);
    EXPECT_FALSE(std::filesystem::exists(dir_.file("www/webmap.html.new")));
  }
}

TEST_F(PublishWebmapTest, ArgumentsAreCheckedBeforeAnythingRuns) {
  const std::string noFolder =
      testingWindowsPrograms() ? "no folder " : "cannot write into ";
  const struct {
    const char* name;
    std::vector<std::string> args;
    std::string error;  // before the usage line
  } kCases[] = {
      {"no argument", {}, ""},
      {"one argument", {"."}, ""},
      {"three arguments", {".", "page.html", "more"}, ""},
      {"no config.txt", {"www", "page.html"}, "no config.txt in "},
      {"no folder for the page", {".", "missing/page.html"}, noFolder},
  };
  std::filesystem::create_directory(dir_.file("www"));
  for (const Start start : starts()) {
    for (const auto& c : kCases) {
      const ToolRun r = publish(dir_.path(), c.args, start);
      const std::string name = std::string(c.name) + ", " + nameOf(start);
      EXPECT_EQ(2, r.exitCode) << name;
      EXPECT_EQ("", r.out) << name << ": nothing ran";
      if (!c.error.empty()) {
        EXPECT_EQ(0u, r.err.find("publish-webmap: " + c.error))
            << name << ": " << r.err;
      }
      EXPECT_NE(std::string::npos, r.err.find(usage())) << name << ": " << r.err;
    }
  }
  EXPECT_FALSE(std::filesystem::exists(dir_.file("page.html")));
}

// A failed run publishes nothing, leaves the page there as it was, and
// ends with the generator's status (-2: 254 as a shell sees it).
TEST_F(PublishWebmapTest, FailedRunPublishesNothing) {
  configure("root", "wrong-password");
  dir_.write("page.html", "last turn's page");
  const std::string shown = testingWindowsPrograms() ? "-2" : "254";
  for (const Start start : starts()) {
    const ToolRun r = publish(dir_.path(), {".", "page.html"}, start);
    EXPECT_EQ(254, r.exitCode) << nameOf(start) << r.out << r.err;
    EXPECT_NE(std::string::npos, r.out.find("Press any key to exit...\n"));
    EXPECT_NE(std::string::npos,
              r.err.find("publish-webmap: zelkor-generator ended with status " +
                         shown + "; nothing was published"))
        << nameOf(start) << r.err;
    EXPECT_EQ("last turn's page", readWholeFile(dir_.file("page.html")));
  }
}

TEST_F(PublishWebmapTest, MissingProgramIsNamed) {
  std::string script;
  std::vector<std::string> env;
  std::string words;
  if (testingWindowsPrograms()) {
    // The script copied alone into a folder of its own.
    const std::string alone = dir_.file("alone");
    std::filesystem::create_directory(alone);
    std::filesystem::copy_file(windowsFolder() + "/publish-webmap.cmd",
                               alone + "/publish-webmap.cmd");
    script = alone + "/publish-webmap.cmd";
    words = "publish-webmap: zelkor-generator.exe is not beside this script, "
            "in " +
            pathAsShown(alone) + "\\\n";
  } else {
    script = kLinuxScript;
    words = "publish-webmap: no program /nonexistent/zelkor-generator "
            "(ZELKOR_GENERATOR and ZELKOR_MAP_PAGE name them)\n";
  }
  for (const Start start : starts()) {
    ToolRun r;
    if (testingWindowsPrograms()) {
      r = publish(dir_.path(), {".", "page.html"}, start, script);
    } else {
      ToolOptions o = toolOptions(
          {"ZELKOR_GENERATOR=/nonexistent/zelkor-generator",
           "ZELKOR_MAP_PAGE=" + mapPagePath()},
          {".", "page.html"});
      o.program = kLinuxScript;
      r = runTool(dir_.path(), o);
    }
    EXPECT_EQ(3, r.exitCode) << nameOf(start) << r.out << r.err;
    EXPECT_EQ("", r.out) << nameOf(start);
    EXPECT_EQ(words, r.err) << nameOf(start);
  }
  EXPECT_FALSE(std::filesystem::exists(dir_.file("page.html")));
}

// Started by hand in a terminal, a failing generator must not wait for a key
// there: the script is meant to run unattended.
TEST_F(PublishWebmapTest, FailingGeneratorInATerminalDoesNotWait) {
  if (testingWindowsPrograms()) GTEST_SKIP() << "no terminal under Wine";
  configure("root", "wrong-password");
  ToolOptions o = toolOptions(
      {"ZELKOR_GENERATOR=" + toolPath(), "ZELKOR_MAP_PAGE=" + mapPagePath()},
      {".", "page.html"});
  o.program = kLinuxScript;
  o.controllingTerminal = true;
  o.deadline = std::chrono::seconds(30);
  const ToolRun r = runTool(dir_.path(), o);
  EXPECT_EQ(254, r.exitCode) << r.out << r.err;  // the generator's -2
  EXPECT_NE(std::string::npos, r.out.find("Press any key to exit...\n"));
  EXPECT_FALSE(std::filesystem::exists(dir_.file("page.html")));
}

}  // namespace
