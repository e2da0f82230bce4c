#include "webmap/host_word.h"

#include <gtest/gtest.h>

namespace {

TEST(HostWordTest, EveryFormOfTheWord) {
  const struct {
    const char* word;
    const char* host;
    const char* socket;
    unsigned port;
    bool tcp;
  } kCases[] = {
      {"localhost", "localhost", "", 0, false},
      {"/run/mysqld/mysqld.sock", "", "/run/mysqld/mysqld.sock", 0, false},
      {"db.example.org", "db.example.org", "", 0, true},
      {"db.example.org:3307", "db.example.org", "", 3307, true},
      {"127.0.0.1", "127.0.0.1", "", 0, true},
      {"127.0.0.1:1", "127.0.0.1", "", 1, true},
      {"127.0.0.1:65535", "127.0.0.1", "", 65535, true},
      {"localhost:3307", "localhost", "", 3307, false},
      {"::1", "::1", "", 0, true},
      {"2001:db8::5", "2001:db8::5", "", 0, true},
      {"fe80::", "fe80::", "", 0, true},
      {"[::1]", "::1", "", 0, true},
      {"[::1]:3307", "::1", "", 3307, true},
      {"db.example.org:mysql", "db.example.org", "", 3306, true},
  };
  for (const auto& c : kCases) {
    const ServerAddress address = readHostWord(c.word);
    EXPECT_EQ("", address.error) << c.word;
    EXPECT_EQ(c.host, address.host) << c.word;
    EXPECT_EQ(c.socket, address.socket) << c.word;
    EXPECT_EQ(c.port, address.port) << c.word;
    EXPECT_EQ(c.tcp, isTcp(address)) << c.word;
  }
}

TEST(HostWordTest, UnreadableWordsSayWhy) {
  const struct {
    const char* word;
    const char* error;
  } kCases[] = {
      {"db:",
       "Unreadable port in host 'db:': give a number from 1 to 65535 "
       "after the colon"},
      {"db:0",
       "Unreadable port in host 'db:0': give a number from 1 to "
       "65535 after the colon"},
      {"db:65536",
       "Unreadable port in host 'db:65536': give a number from 1 "
       "to 65535 after the colon"},
      {"db:-1",
       "Unreadable port in host 'db:-1': give a number from 1 to "
       "65535 after the colon"},
      {"db:no-such-service",
       "Unreadable port in host 'db:no-such-service': "
       "give a number from 1 to 65535 after the colon"},
      {"[::1",
       "Unreadable host '[::1': write an IPv6 address as [address] "
       "or [address]:port"},
      {"[::1]3307",
       "Unreadable host '[::1]3307': write an IPv6 address as "
       "[address] or [address]:port"},
      {"[::1]:",
       "Unreadable port in host '[::1]:': give a number from 1 to "
       "65535 after the colon"},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(c.error, readHostWord(c.word).error) << c.word;
  }
}

}  // namespace
