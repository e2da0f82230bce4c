#include "webmap/host_word.h"

#include <gtest/gtest.h>

#include "test_support/built_for.h"

namespace {

TEST(HostWordTest, EveryFormOfTheWord) {
  const struct {
    const char* word;
    const char* host;
    const char* socket;
    unsigned port;
    bool tcp;
  } kCases[] = {
      // Windows' client library has no local socket: localhost is TCP.
      {"localhost", "localhost", "", 0, kBuiltForWindows},
      {"/run/mysqld/mysqld.sock", "", "/run/mysqld/mysqld.sock", 0, false},
      {"db.example.org", "db.example.org", "", 0, true},
      {"db.example.org:3307", "db.example.org", "", 3307, true},
      {"127.0.0.1", "127.0.0.1", "", 0, true},
      {"127.0.0.1:1", "127.0.0.1", "", 1, true},
      {"127.0.0.1:65535", "127.0.0.1", "", 65535, true},
      {"localhost:3307", "localhost", "", 3307, kBuiltForWindows},
      {"::1", "::1", "", 0, true},
      {"2001:db8::5", "2001:db8::5", "", 0, true},
      {"fe80::", "fe80::", "", 0, true},
      {"[::1]", "::1", "", 0, true},
      {"[::1]:3307", "::1", "", 3307, true},
      {"db.example.org:http", "db.example.org", "", 80, true},
  };
  for (const auto& c : kCases) {
    const auto read = readHostWord(c.word);
    ASSERT_TRUE(read.ok()) << c.word;
    const ServerAddress& address = read.value();
    EXPECT_EQ(c.host, address.host) << c.word;
    EXPECT_EQ(c.socket, address.socket) << c.word;
    EXPECT_EQ(c.port, address.port) << c.word;
    EXPECT_EQ(c.tcp, isTcp(address)) << c.word;
  }
  // Debian's services list names mysql; Windows' does not.
  if (!kBuiltForWindows) {
    const auto named = readHostWord("db.example.org:mysql");
    ASSERT_TRUE(named.ok());
    EXPECT_EQ(3306u, named.value().port);
  }
}

TEST(HostWordTest, UnreadableWordsSayWhat) {
  using Kind = HostWordFault::Kind;
  const struct {
    const char* word;
    Kind kind;
    const char* hostWord;  // the one to write instead, for a web address
  } kCases[] = {
      {"db:", Kind::kPort, ""},
      {"db:0", Kind::kPort, ""},
      {"db:65536", Kind::kPort, ""},
      {"db:-1", Kind::kPort, ""},
      {"db:no-such-service", Kind::kPort, ""},
      {"[::1", Kind::kIpv6Brackets, ""},
      {"[::1]3307", Kind::kIpv6Brackets, ""},
      {"[::1]:", Kind::kPort, ""},
      {"http://127.0.0.1:33061", Kind::kUrl, "127.0.0.1:33061"},
      {"mysql://webadmin@db.example.org:3306/webmap", Kind::kUrl,
       "db.example.org:3306"},
      {"https://user:p@ss@db.example.org/", Kind::kUrl, "db.example.org"},
  };
  for (const auto& c : kCases) {
    const auto read = readHostWord(c.word);
    ASSERT_FALSE(read.ok()) << c.word;
    EXPECT_EQ(c.kind, read.failure().kind) << c.word;
    EXPECT_EQ(c.hostWord, read.failure().hostWord) << c.word;
  }
}

}  // namespace
