// Both programs with a client option file that the client library would not
// read safely: each run ends at once with -2 and names the file and line,
// before any connection (none is needed: no server answers here).
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>

#include "gamedb_builder/game_db_builder.h"
#include "test_support/temp_dir.h"
#include "test_support/tool_runner.h"

namespace {

constexpr char kNoConnection[] =
    "        The MySQL client library would not read it safely, so no "
    "connection was\n"
    "        opened. Mend or remove that line (or file), then run again.\n";

TEST(OptionFileRunsTest, MalformedOptionFilesEndBothProgramsPromptly) {
  ScopedTempDir home;
  ASSERT_EQ(0, mkfifo(home.file("pipe.cnf").c_str(), 0600));
  const std::string myCnf = home.file(".my.cnf");
  const struct {
    const char* name;
    std::string text;
    std::string fatal;  // the first line of the stop
  } kCases[] = {
      // The file that sent the client library round its own files for ever.
      {"includes of nothing", "[client]\n!includedir \n!include \n=x\n",
       "Fatal:  The MySQL option file " + myCnf +
           ", line 2, has !includedir with no folder after it.\n"},
      {"a line that starts with =", "[client]\nssl\n=x\n",
       "Fatal:  The MySQL option file " + myCnf +
           ", line 3, has a setting without a name.\n"},
      {"an endless file", "[client]\n!include /dev/zero\n",
       "Fatal:  The MySQL option file " + myCnf +
           ", line 2, includes /dev/zero, which is a folder, a pipe or a "
           "device, not a file.\n"},
      {"a pipe nobody writes", "[client]\n!include " + home.file("pipe.cnf") + "\n",
       "Fatal:  The MySQL option file " + myCnf + ", line 2, includes " +
           home.file("pipe.cnf") +
           ", which is a folder, a pipe or a device, not a file.\n"},
      {"itself", "[client]\nssl\n!include " + myCnf + "\n",
       "Fatal:  The MySQL option file " + myCnf + ", line 3, includes " +
           myCnf + ", which is already being read: the files include each "
           "other.\n"},
      // The client library crashes on an include with "://" in its path.
      {"an address", "[client]\n!include https://example.org/my.cnf\n",
       "Fatal:  The MySQL option file " + myCnf +
           ", line 2, includes https://example.org/my.cnf, which has \"://\" "
           "in its path: the client library would take it for an address to "
           "fetch.\n"},
      // The client library crashes on this setting, whatever its value.
      {"disable-local-infile", "[client]\nuser=admin\ndisable-local-infile=1\n",
       "Fatal:  The MySQL option file " + myCnf +
           ", line 3, has 'disable-local-infile', which the client library "
           "crashes on: write local-infile=0, which says the same.\n"},
      {"CR line ends", "[client]\rssl\r",
       "Fatal:  The MySQL option file " + myCnf +
           ", line 1, holds a carriage return inside a line (save the file "
           "with Unix or Windows line ends).\n"},
  };
  for (const auto& c : kCases) {
    ScopedTempDir dir;
    dir.write("game.db", plainGameDb(3, 2).bytes());
    dir.write("config.txt", "game.db 127.0.0.1:1 webadmin secret webmap\n");
    home.write(".my.cnf", c.text);
    for (const std::string& program : {toolPath(), mapPagePath()}) {
      ToolOptions options =
          toolOptions({"HOME=" + home.path(), "MYSQL_HOME=" + home.path()});
      options.program = program;
      options.deadline = std::chrono::seconds(20);
      const ToolRun run = runTool(dir.path(), options);
      EXPECT_EQ(254, run.exitCode) << c.name << ", " << program << ":\n"
                                   << run.out;  // -2
      const std::string stop = c.fatal + kNoConnection;
      EXPECT_NE(std::string::npos, run.out.find(stop))
          << c.name << ", " << program << ":\n"
          << run.out;
      EXPECT_EQ(std::string::npos, run.out.find("Cannot connect"))
          << c.name << ", " << program;
    }
  }
}

}  // namespace
