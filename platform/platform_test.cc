// What each system's side of the platform layer must give the same way:
// these run on Linux and, cross-built, under Wine.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/file_replacement.h"
#include "platform/file_facts.h"
#include "platform/file_lock.h"
#include "test_support/temp_dir.h"

namespace {

TEST(FileFactsTest, KindsOfPath) {
  const ScopedTempDir dir;
  dir.write("plain.txt", "abc");
  std::filesystem::create_directory(dir.file("folder"));
  const struct {
    std::string path;
    PathKind kind;
    bool readable;
  } cases[] = {
      {dir.file("plain.txt"), PathKind::kFile, true},
      {dir.file("folder"), PathKind::kFolder, true},
      {dir.file("missing.txt"), PathKind::kMissing, false},
      {dir.file("missing/inside.txt"), PathKind::kMissing, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.kind, pathKind(c.path)) << c.path;
    EXPECT_EQ(c.readable, mayRead(c.path)) << c.path;
  }
}

TEST(FileFactsTest, ReadsWholeFilesUpToTheLimitOnly) {
  const ScopedTempDir dir;
  dir.write("empty", "");
  dir.write("five", "12345");
  // Line ends are bytes like any other: no text-mode translation.
  dir.write("crlf", "a\r\nb\r\n");
  std::filesystem::create_directory(dir.file("folder"));
  const struct {
    const char* name;
    size_t limit;
    BoundedRead result;
    std::string text;
  } cases[] = {
      {"empty", 5, BoundedRead::kRead, ""},
      {"five", 5, BoundedRead::kRead, "12345"},
      {"five", 4, BoundedRead::kTooLarge, ""},
      {"crlf", 100, BoundedRead::kRead, "a\r\nb\r\n"},
      {"missing", 5, BoundedRead::kCannotOpen, ""},
      {"folder", 5, BoundedRead::kNotAFile, ""},
  };
  for (const auto& c : cases) {
    std::string text = "left over";
    EXPECT_EQ(c.result, readFileUpTo(dir.file(c.name), c.limit, text))
        << c.name << " " << c.limit;
    if (c.result == BoundedRead::kRead) {
      EXPECT_EQ(c.text, text) << c.name;
    }
  }
}

TEST(FileFactsTest, CanonicalPathsOfOneFileAgree) {
  const ScopedTempDir dir;
  std::filesystem::create_directory(dir.file("sub"));
  dir.write("a.cnf", "[client]\n");
  const std::string direct = canonicalPath(dir.file("a.cnf"));
  EXPECT_EQ(direct, canonicalPath(dir.path() + "/./a.cnf"));
  EXPECT_EQ(direct, canonicalPath(dir.path() + "/sub/../a.cnf"));
  EXPECT_NE(direct, canonicalPath(dir.file("sub")));
}

TEST(FileLockTest, ExclusiveKeepsOutOthersSharedKeepsOutExclusive) {
  const ScopedTempDir dir;
  const std::string config = dir.write("config.txt", "a b c d e 1\n");
  ProcessFileLock first(config);
  ProcessFileLock second(config);
  ASSERT_EQ(LockResult::kLocked, first.lock(LockKind::kExclusive, false));
  EXPECT_EQ(LockResult::kHeldElsewhere,
            second.lock(LockKind::kShared, false));
  EXPECT_EQ(LockResult::kHeldElsewhere,
            second.lock(LockKind::kExclusive, false));

  // The locked file stays free to read and to edit.
  EXPECT_EQ("a b c d e 1\n", readWholeFile(config));
  std::ofstream(config, std::ios::binary | std::ios::app) << "more\n";
  EXPECT_EQ("a b c d e 1\nmore\n", readWholeFile(config));

  const std::string page = dir.write("page.lock", "");
  ProcessFileLock reader(page);
  ProcessFileLock otherReader(page);
  ProcessFileLock writer(page);
  EXPECT_EQ(LockResult::kLocked, reader.lock(LockKind::kShared, false));
  EXPECT_EQ(LockResult::kLocked, otherReader.lock(LockKind::kShared, false));
  EXPECT_EQ(LockResult::kHeldElsewhere,
            writer.lock(LockKind::kExclusive, false));

  ProcessFileLock missing(dir.file("missing.txt"));
  EXPECT_EQ(LockResult::kNotLocked, missing.lock(LockKind::kExclusive, false));
}

TEST(PageFileTest, ReplacesAnExistingPageAndLeavesNothingElse) {
  const ScopedTempDir dir;
  const std::string page = dir.write("webmap.html", "old page");
  ASSERT_TRUE(replaceFile(page, "new page\n").ok());
  EXPECT_EQ("new page\n", readWholeFile(page));
  ASSERT_TRUE(replaceFile(dir.file("fresh.html"), "first").ok());
  EXPECT_EQ("first", readWholeFile(dir.file("fresh.html")));
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
    (void)entry;
    ++files;
  }
  EXPECT_EQ(2, files);

  const Outcome<Done, FileReplaceFailure> refused =
      replaceFile(dir.file("no-such-folder/webmap.html"), "page");
  ASSERT_FALSE(refused.ok());
  EXPECT_EQ(FileReplaceFailure::Step::kCreate, refused.failure().step);
}

}  // namespace
