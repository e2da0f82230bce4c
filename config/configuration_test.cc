#include "config/configuration.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <sstream>

#include "test_support/temp_dir.h"

namespace {

// How a reading ended, as one value a table can hold.
enum class Read { kRead, kInvalid, kNotFound };

Read readOf(const ConfigurationOutcome& outcome) {
  if (outcome.ok()) return Read::kRead;
  return outcome.failure().kind == ConfigurationFault::Kind::kInvalid
             ? Read::kInvalid
             : Read::kNotFound;
}

struct ConfigCase {
  const char* name;
  std::string content;
  Read status;
  ToolConfiguration expected;  // checked only for kRead
};

const ToolConfiguration kSample{"game.db", "localhost", "admin", "secret",
                                "webmap"};
const ToolConfiguration kNoPassword{"game.db", "localhost", "admin", "",
                                    "webmap"};

TEST(ConfigurationTest, ReadsFiveWordsByTheEndOfFileRules) {
  const ConfigCase kCases[] = {
      {"empty", "", Read::kInvalid, {}},
      {"only whitespace", " \n\t\r\n\v\f", Read::kInvalid, {}},
      {"four words",
       "game.db localhost admin secret\n",
       Read::kInvalid,
       {}},
      {"five words, nothing after the fifth",
       "game.db localhost admin secret webmap",
       Read::kInvalid,
       {}},
      {"five words and a line break", "game.db localhost admin secret webmap\n",
       Read::kRead, kSample},
      {"one word per line", "game.db\nlocalhost\nadmin\nsecret\nwebmap\n",
       Read::kRead, kSample},
      {"CR LF line ends",
       "game.db\r\nlocalhost\r\nadmin\r\nsecret\r\nwebmap\r\n",
       Read::kRead, kSample},
      {"byte-order mark and CR LF, as Notepad saves it",
       "\xEF\xBB\xBFgame.db\r\nlocalhost\r\nadmin\r\nsecret\r\nwebmap\r\n",
       Read::kRead, kSample},
      {"byte-order mark only",
       "\xEF\xBB\xBF",
       Read::kInvalid,
       {}},
      {"byte-order mark later is part of a word",
       "game.db \xEF\xBB\xBFlocalhost admin secret webmap\n",
       Read::kRead,
       {"game.db", "\xEF\xBB\xBFlocalhost", "admin", "secret", "webmap"}},
      {"half a byte-order mark is part of the first word",
       "\xEF\xBBgame.db localhost admin secret webmap\n",
       Read::kRead,
       {"\xEF\xBBgame.db", "localhost", "admin", "secret", "webmap"}},
      {"two bytes, not a mark", "ab", Read::kInvalid, {}},
      {"tabs, form feeds and a blank after the fifth",
       "\t game.db\flocalhost\vadmin\tsecret  webmap ",
       Read::kRead, kSample},
      {"sixth entry a number", "game.db localhost admin secret webmap 42\n",
       Read::kRead, kSample},
      {"sixth entry not a number",
       "game.db localhost admin secret webmap turns\n",
       Read::kRead, kSample},
      {"sixth entry out of range",
       "game.db localhost admin secret webmap 99999999999999999999\n",
       Read::kRead, kSample},
      {"words after the sixth ignored",
       "game.db localhost admin secret webmap 7 more words here\n",
       Read::kRead, kSample},
      {"ampersand password is empty", "game.db localhost admin & webmap\n",
       Read::kRead, kNoPassword},
      {"ampersand elsewhere is literal",
       "& & & pw &\n",
       Read::kRead,
       {"&", "&", "&", "pw", "&"}},
      {"password merely containing an ampersand",
       "game.db localhost admin a&b webmap\n",
       Read::kRead,
       {"game.db", "localhost", "admin", "a&b", "webmap"}},
      {"path with a blank shifts every value",
       "my game.db localhost admin secret webmap\n",
       Read::kRead,
       {"my", "game.db", "localhost", "admin", "secret"}},
  };
  for (const ConfigCase& c : kCases) {
    ScopedTempDir dir;
    const std::string path = dir.write("config.txt", c.content);
    const ConfigurationOutcome read = readConfiguration(path);
    EXPECT_EQ(c.status, readOf(read)) << c.name;
    if (c.status != Read::kRead || !read.ok()) continue;
    const ToolConfiguration& config = read.value();
    EXPECT_EQ(c.expected.gameDatabasePath, config.gameDatabasePath) << c.name;
    EXPECT_EQ(c.expected.mysqlHost, config.mysqlHost) << c.name;
    EXPECT_EQ(c.expected.mysqlUser, config.mysqlUser) << c.name;
    EXPECT_EQ(c.expected.mysqlPassword, config.mysqlPassword) << c.name;
    EXPECT_EQ(c.expected.webmapDatabaseName, config.webmapDatabaseName)
        << c.name;
  }
}

TEST(ConfigurationTest, MissingFileIsReportedAfterTheCheckingLine) {
  ScopedTempDir dir;
  EXPECT_EQ(Read::kNotFound, readOf(readConfiguration(dir.file("config.txt"))));
}

TEST(ConfigurationTest, InvalidFileSaysWhy) {
  using Why = ConfigurationFault::Why;
  const struct {
    const char* name;
    std::string content;
    Why why;
    int words;  // for kTooFewWords
  } kCases[] = {
      {"empty", "", Why::kTooFewWords, 0},
      {"two words", "game.db localhost\n", Why::kTooFewWords, 2},
      {"four words, the last an empty password", "g h u &\n",
       Why::kTooFewWords, 4},
      {"four words, no line end", "g h u p", Why::kTooFewWords, 4},
      {"no line end after the fifth word", "g h u p db",
       Why::kNothingAfterFifthWord, 0},
      {"Notepad's CR LF file without its last Enter",
       "\xEF\xBB\xBFg\r\nh\r\nu\r\np\r\ndb", Why::kNothingAfterFifthWord, 0},
      {"UTF-16 LE with its mark, as Notepad's \"Unicode\"",
       std::string("\xFF\xFEg\0 \0h\0 \0u\0 \0p\0 \0d\0\r\0\n\0", 22),
       Why::kUtf16, 0},
      {"UTF-16 BE with its mark",
       std::string("\xFE\xFF\0g\0 \0h\0 \0u\0 \0p\0 \0d\0\n", 22), Why::kUtf16,
       0},
      {"UTF-16 LE without a mark",
       std::string("g\0 \0h\0 \0u\0 \0p\0 \0d\0\n\0", 20), Why::kUtf16, 0},
      {"NUL byte in the third word", std::string("g h u\0 p db\n", 13),
       Why::kNulByte, 0},
  };
  for (const auto& c : kCases) {
    ScopedTempDir dir;
    const ConfigurationOutcome read =
        readConfiguration(dir.write("config.txt", c.content));
    ASSERT_FALSE(read.ok()) << c.name;
    EXPECT_EQ(ConfigurationFault::Kind::kInvalid, read.failure().kind) << c.name;
    EXPECT_EQ(c.why, read.failure().why) << c.name;
    if (c.why == Why::kTooFewWords) {
      EXPECT_EQ(c.words, read.failure().words) << c.name;
    }
  }
}

TEST(ConfigurationTest, FileNotFoundNamesTheFolderAndADoubledEnding) {
  using Why = ConfigurationFault::Why;
  ScopedTempDir dir;
  const std::string path = dir.file("config.txt");
  ConfigurationOutcome read = readConfiguration(path);
  ASSERT_FALSE(read.ok());
  EXPECT_EQ(Why::kMissing, read.failure().why);
  EXPECT_TRUE(std::filesystem::equivalent(dir.path(), read.failure().folder))
      << read.failure().folder;
  EXPECT_FALSE(read.failure().nameDoubled);

  // Notepad's "config.txt" typed into a folder that hides known endings.
  dir.write("config.txt.txt", "g h u p db\n");
  read = readConfiguration(path);
  ASSERT_FALSE(read.ok());
  EXPECT_EQ(Why::kMissing, read.failure().why);
  EXPECT_TRUE(read.failure().nameDoubled);

  // A folder of that name is no configuration, not one of empty words.
  ASSERT_TRUE(std::filesystem::create_directory(path));
  read = readConfiguration(path);
  ASSERT_FALSE(read.ok());
  EXPECT_EQ(ConfigurationFault::Kind::kNotFound, read.failure().kind);
  EXPECT_EQ(Why::kNotAFile, read.failure().why);
}

TEST(ConfigurationTest, WordsKeepBytesThatAreNotClassicWhitespace) {
  ScopedTempDir dir;
  const std::string content = "g\xC3\xA9.db h\x01st u p\x7F db\xC2\xA0name\n";
  const ConfigurationOutcome read =
      readConfiguration(dir.write("config.txt", content));
  ASSERT_TRUE(read.ok());
  const ToolConfiguration& config = read.value();
  EXPECT_EQ("g\xC3\xA9.db", config.gameDatabasePath);
  EXPECT_EQ("h\x01st", config.mysqlHost);
  EXPECT_EQ("p\x7F", config.mysqlPassword);
  EXPECT_EQ("db\xC2\xA0name", config.webmapDatabaseName);
}

TEST(ConfigurationTest, NulByteInAWordMakesTheFileInvalid) {
  // Each word in turn holds a NUL; one after the fifth word does no harm.
  const std::string kContents[] = {
      std::string("ga\0me.db h u p db\n", 19),
      std::string("g h\0st u p db\n", 15),
      std::string("g h u\0 p db\n", 13),
      std::string("g h u p\0 db\n", 13),
      std::string("g h u p d\0b\n", 13),
  };
  for (const std::string& content : kContents) {
    ScopedTempDir dir;
    EXPECT_EQ(Read::kInvalid,
              readOf(readConfiguration(dir.write("config.txt", content))))
        << content.size();
  }
  ScopedTempDir dir;
  EXPECT_EQ(Read::kRead,
            readOf(readConfiguration(
                dir.write("config.txt", std::string("g h u p db 1\0\n", 15)))));
}

}  // namespace
