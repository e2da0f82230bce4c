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
  const struct {
    const char* word;
    HostWordFault fault;
  } kCases[] = {
      {"db:", HostWordFault::kPort},
      {"db:0", HostWordFault::kPort},
      {"db:65536", HostWordFault::kPort},
      {"db:-1", HostWordFault::kPort},
      {"db:no-such-service", HostWordFault::kPort},
      {"[::1", HostWordFault::kIpv6Brackets},
      {"[::1]3307", HostWordFault::kIpv6Brackets},
      {"[::1]:", HostWordFault::kPort},
      {"http://127.0.0.1:33061", HostWordFault::kUrl},
      {"mysql://webadmin@db.example.org:3306/webmap", HostWordFault::kUrl},
  };
  for (const auto& c : kCases) {
    const auto read = readHostWord(c.word);
    ASSERT_FALSE(read.ok()) << c.word;
    EXPECT_EQ(c.fault, read.failure()) << c.word;
  }
}

}  // namespace
