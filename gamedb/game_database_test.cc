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
  const std::string kContents[] = {std::string("\r\n\x1A\0\n\r\xFF\x80tail\r", 13),
                                   ""};
  for (const std::string& content : kContents) {
    const std::string path = dir.write("game.db", content);
    std::ostringstream out;
    const auto loaded = loadGameDatabase(out, path);
    ASSERT_TRUE(loaded.ok()) << content.size();
    EXPECT_EQ(kProgressLines, out.str());
    const GameDatabaseBuffer& buffer = loaded.value();
    ASSERT_EQ(static_cast<int32_t>(content.size()), buffer.length);
    EXPECT_EQ(content, std::string(reinterpret_cast<char*>(buffer.bytes.get()),
                                   buffer.length));
  }
}

// Each fails after both progress lines, naming its path.
TEST(GameDatabaseTest, UnreadableFilesFailAfterBothProgressLines) {
  ScopedTempDir dir;
  const std::string fifo = dir.file("pipe");
  ASSERT_EQ(0, mkfifo(fifo.c_str(), 0600));
  // A sparse file of 2 GiB, one byte more than a signed 32-bit count: no disk
  // space is used.
  const std::string huge = dir.write("huge.db", "");
  ASSERT_EQ(0, truncate(huge.c_str(), int64_t{1} << 31));
  // A file that gives fewer bytes than its measured size, as one shortened
  // between measuring and reading does. The kernel's own files do so at any
  // time: they measure a page and hold a few bytes.
  const std::string shorter = "/sys/devices/system/cpu/online";
  struct stat info {};
  ASSERT_EQ(0, stat(shorter.c_str(), &info)) << shorter << " (needs sysfs)";
  ASSERT_GT(info.st_size, static_cast<off_t>(readWholeFile(shorter).size()));

  const std::string kPaths[] = {dir.file("missing.db"), dir.path(), fifo, huge,
                                shorter};
  for (const std::string& path : kPaths) {
    std::ostringstream out;
    const auto loaded = loadGameDatabase(out, path);
    ASSERT_FALSE(loaded.ok()) << path;
    EXPECT_EQ(path, loaded.failure().path);
    EXPECT_EQ(kProgressLines, out.str()) << path;
  }
}

}  // namespace
