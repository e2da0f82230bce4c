#include "config/stop.h"

#include <gtest/gtest.h>

namespace {

const char kHead[] =
    "Fatal:  Cannot connect to the MySQL server on host 'db.example.org': "
    "the error\n";

TEST(StopTest, ServerUnreachableSaysWhatTheFailureMeans) {
  const struct {
    ConnectFailure failure;
    int32_t hexCount;
    const char* lines;
  } kCases[] = {
      {ConnectFailure::kFinal, 900, ""},
      {ConnectFailure::kServerAway, 900, ""},
      {ConnectFailure::kHourlyLimit, 900,
       "        The account's connections for this hour are used up. A run of "
       "this map\n"
       "        opens up to 914 connections: one for each of its 900 hexes and "
       "up to 14\n"
       "        for its checks. Ask for a plan that allows 914 connections an "
       "hour\n"
       "        for each run within the hour.\n"},
      {ConnectFailure::kHourlyLimit, -1, ""},
      {ConnectFailure::kTlsStep, 900,
       "        The connection failed in its TLS step: check ssl-ca and the "
       "server's\n"
       "        certificate, and that the server offers TLS.\n"},
      {ConnectFailure::kRefusedWithoutTls, 900,
       "        The server may require TLS: add ssl and ssl-ca=FILE under "
       "[zelkor-generator] in ~/.my.cnf.\n"},
  };
  for (const auto& c : kCases) {
    const Stop stop = serverUnreachableStop("db.example.org", "the error",
                                            c.failure, {c.hexCount, 14});
    EXPECT_EQ(std::string(kHead) + c.lines, stop.text)
        << static_cast<int>(c.failure);
    EXPECT_EQ(-2, stop.status);
  }
}

TEST(StopTest, ConfigurationStops) {
  const Stop notFound = configurationStop(ConfigurationStatus::kNotFound);
  EXPECT_EQ("Fatal:  Configuration file not found!\n", notFound.text);
  EXPECT_EQ(-99999, notFound.status);
  const Stop invalid = configurationStop(ConfigurationStatus::kInvalid);
  EXPECT_EQ("Fatal:  Configuration file is invalid!\n", invalid.text);
  EXPECT_EQ(-99998, invalid.status);
  EXPECT_EQ("Press any key to exit...\n", invalid.prompt);
}

}  // namespace
