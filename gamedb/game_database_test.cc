#include "gamedb/game_database.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <sstream>

#include "test_support/temp_dir.h"

namespace {

const char kProgressLines[] =
    "Info:   Opening database and reading data...\n"
    "Info:   Database closed.\n";

TEST(GameDatabaseTest, LoadsEveryByteUnchanged) {
  ScopedTempDir dir;
  std::string content("\r\n\x1A\0\n\r\xFF\x80tail\r", 13);
  const std::string path = dir.write("game.db", content);
  std::ostringstream out;
  GameDatabaseBuffer buffer;
  ASSERT_TRUE(loadGameDatabase(out, path, buffer));
  EXPECT_EQ(kProgressLines, out.str());
  ASSERT_EQ(13, buffer.length);
  EXPECT_EQ(content, std::string(reinterpret_cast<char*>(buffer.bytes.get()),
                                 buffer.length));
}

TEST(GameDatabaseTest, EmptyFileLoadsWithLengthZero) {
  ScopedTempDir dir;
  std::ostringstream out;
  GameDatabaseBuffer buffer;
  ASSERT_TRUE(loadGameDatabase(out, dir.write("game.db", ""), buffer));
  EXPECT_EQ(0, buffer.length);
  EXPECT_EQ(kProgressLines, out.str());
}

TEST(GameDatabaseTest, UnreadablePathsFailAfterBothProgressLines) {
  ScopedTempDir dir;
  const std::string fifo = dir.file("pipe");
  ASSERT_EQ(0, mkfifo(fifo.c_str(), 0600));
  const std::string kPaths[] = {dir.file("missing.db"), dir.path(), fifo};
  for (const std::string& path : kPaths) {
    std::ostringstream out;
    GameDatabaseBuffer buffer;
    EXPECT_FALSE(loadGameDatabase(out, path, buffer)) << path;
    EXPECT_EQ(kProgressLines, out.str()) << path;
  }
}

// A file that gives fewer bytes than its measured size, as one shortened
// between measuring and reading does. The kernel's own files do so at any
// time: they measure a page and hold a few bytes.
TEST(GameDatabaseTest, FileShorterThanMeasuredIsUnreadable) {
  const std::string path = "/sys/devices/system/cpu/online";
  struct stat info {};
  ASSERT_EQ(0, stat(path.c_str(), &info)) << path << " (needs sysfs)";
  ASSERT_GT(info.st_size, static_cast<off_t>(readWholeFile(path).size()));
  std::ostringstream out;
  GameDatabaseBuffer buffer;
  EXPECT_FALSE(loadGameDatabase(out, path, buffer));
  EXPECT_EQ(kProgressLines, out.str());
}

TEST(GameDatabaseTest, FileLongerThanSigned32BitCountIsUnreadable) {
  ScopedTempDir dir;
  const std::string path = dir.write("huge.db", "");
  // A sparse file: no disk space is used.
  ASSERT_EQ(0, truncate(path.c_str(), int64_t{1} << 31));
  std::ostringstream out;
  GameDatabaseBuffer buffer;
  EXPECT_FALSE(loadGameDatabase(out, path, buffer));
  EXPECT_EQ(kProgressLines, out.str());
}

TEST(GameDatabaseTest, UnreadableTextEchoesThePathAndEndsWithThePrompt) {
  EXPECT_EQ(
      "Fatal:  Couldn't find Quarrion database!\n"
      "Fatal:  Error (-1) encountered. Shutting down.\n"
      "Path: saves/game one.db\n"
      "\nPress any key to exit...",
      unreadableGameDatabaseText("saves/game one.db") +
          kUnreadableGameDatabasePrompt);
}

}  // namespace
