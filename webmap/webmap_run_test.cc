// How a run treats a connect that fails: which failures are tried again,
// with which pauses, and what a failure is taken to mean.
#include "webmap/webmap_run.h"

#include <gtest/gtest.h>

#include "test_support/built_for.h"

namespace {

TEST(ConnectPatienceTest, PausesDoubleFromFiftyMillisecondsToOneSecond) {
  const ConnectPatience patience;
  const int kExpected[] = {50, 100, 200, 400, 800, 1000, 1000, 1000};
  for (int tries = 1; tries <= 8; ++tries) {
    EXPECT_EQ(kExpected[tries - 1], pauseAfter(patience, tries).count())
        << "after try " << tries;
  }
  EXPECT_EQ(1000, pauseAfter(patience, 1000).count());
  EXPECT_EQ(30000, patience.limit.count());
}

TEST(ConnectPatienceTest, OnlyMomentaryRefusalsAreTriedAgain) {
  const struct {
    ConnectFailure failure;
    bool atFirstConnect;
    bool later;
  } kCases[] = {
      {ConnectFailure::kServerBusy, true, true},
      {ConnectFailure::kServerAway, false, true},
      {ConnectFailure::kFinal, false, false},
      {ConnectFailure::kHourlyLimit, false, false},
      {ConnectFailure::kNoFreeLocalPort, false, false},
      {ConnectFailure::kTlsStep, false, false},
      {ConnectFailure::kRefusedWithoutTls, false, false},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(c.atFirstConnect, worthAnotherTry(c.failure, false))
        << static_cast<int>(c.failure);
    EXPECT_EQ(c.later, worthAnotherTry(c.failure, true))
        << static_cast<int>(c.failure);
  }
}

TEST(ConnectFailureTest, ErrorNumbersSayWhatFailed) {
  const struct {
    unsigned error;
    const char* text;
    bool tcp;
    bool tls;
    ConnectFailure expected;
  } kCases[] = {
      // Server errors.
      {1040, "Too many connections", true, false, ConnectFailure::kServerBusy},
      {1203,
       "User webadmin already has more than 'max_user_connections' "
       "active connections",
       true, false, ConnectFailure::kServerBusy},
      {1226,
       "User 'webadmin' has exceeded the 'max_user_connections' "
       "resource (current value: 1)",
       true, false, ConnectFailure::kServerBusy},
      {1226,
       "User 'webadmin' has exceeded the 'max_connections_per_hour' "
       "resource (current value: 500)",
       true, false, ConnectFailure::kHourlyLimit},
      {1226,
       "User 'webadmin' has exceeded the 'max_questions' resource "
       "(current value: 9)",
       true, false, ConnectFailure::kFinal},
      {1053, "Server shutdown in progress", false, false,
       ConnectFailure::kServerAway},
      {1045, "Access denied for user 'webadmin'@'127.0.0.1'", true, false,
       ConnectFailure::kRefusedWithoutTls},
      {1045, "Access denied for user 'webadmin'@'127.0.0.1'", true, true,
       ConnectFailure::kFinal},
      {1045, "Access denied for user 'webadmin'@'localhost'", false, false,
       ConnectFailure::kFinal},
      // The client library's.
      {2002, "Can't connect to local server through socket '/s' (111)", false,
       false, ConnectFailure::kServerAway},
      {2002, "Can't connect to server on '127.0.0.1' (115)", true, false,
       ConnectFailure::kServerAway},
      // No local port free: EADDRNOTAVAIL on Linux, WSAEADDRINUSE or
      // WSAENOBUFS on Windows.
      {2003, "Can't connect to server on '127.0.0.1' (99)", true, false,
       kBuiltForWindows ? ConnectFailure::kServerAway
                        : ConnectFailure::kNoFreeLocalPort},
      {2003, "Can't connect to server on '127.0.0.1' (10048)", true, false,
       kBuiltForWindows ? ConnectFailure::kNoFreeLocalPort
                        : ConnectFailure::kServerAway},
      {2003, "Can't connect to server on '127.0.0.1' (10055)", true, false,
       kBuiltForWindows ? ConnectFailure::kNoFreeLocalPort
                        : ConnectFailure::kServerAway},
      {2006, "Server has gone away", true, false, ConnectFailure::kServerAway},
      {2013, "Lost connection to server at 'handshake'", true, false,
       ConnectFailure::kServerAway},
      {2026, "TLS/SSL error: certificate verify failed", true, true,
       ConnectFailure::kTlsStep},
      {2005, "Unknown server host 'db.example.invalid' (-2)", true, false,
       ConnectFailure::kFinal},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(c.expected, classifyConnectFailure(c.error, c.text, c.tcp, c.tls))
        << c.error << " " << c.text;
  }
}

}  // namespace
