#include "stops/stop.h"

#include <gtest/gtest.h>

#include "test_support/built_for.h"

namespace {

const char kHead[] =
    "Fatal:  Cannot connect to the MySQL server on host 'db.example.org': "
    "the error\n";

ConnectProblem problem(ConnectFailure failure, unsigned errorNumber = 0) {
  ConnectProblem p;
  p.failure = failure;
  p.host = "db.example.org";
  p.error = "the error";
  p.errorNumber = errorNumber;
  return p;
}

OptionValue at(const std::string& value, const std::string& file, int line) {
  return OptionValue{value, OptionSource{file, line}};
}

TEST(StopTest, ServerUnreachableSaysWhatTheFailureMeans) {
  ConnectProblem hourly900 = problem(ConnectFailure::kHourlyLimit);
  hourly900.hourlyLimit = 900;
  ConnectProblem hourly2000 = hourly900;
  hourly2000.hourlyLimit = 2000;
  ConnectProblem hourly500 = hourly900;
  hourly500.hourlyLimit = 500;

  ConnectProblem portFromFile = problem(ConnectFailure::kFinal, 2002);
  portFromFile.tried =
      ConnectTarget{true, "127.0.0.1", 34999, "", AddressSource::kOptionFile,
                    "", OptionSource{"/home/admin/.my.cnf", 2}};
  ConnectProblem portFromVariable = problem(ConnectFailure::kServerAway, 2002);
  portFromVariable.tried = ConnectTarget{
      true, "127.0.0.1", 3307, "", AddressSource::kEnvironment,
      "MYSQL_TCP_PORT", {}};
  ConnectProblem portFromConfig = problem(ConnectFailure::kFinal, 2002);
  portFromConfig.tried = ConnectTarget{
      true, "10.0.0.5", 3310, "", AddressSource::kConfigurationFile, "", {}};
  ConnectProblem defaultSocket = problem(ConnectFailure::kFinal, 2002);
  defaultSocket.tried =
      ConnectTarget{false, "", 0, "/run/mysqld/mysqld.sock",
                    AddressSource::kLibraryDefault, "", {}};

  ConnectProblem missingCa = problem(ConnectFailure::kTlsStep, 2026);
  missingCa.tlsFile = TlsFileFault{
      "ssl-ca", at("/etc/ssl/provider-ca.pem", "/home/admin/.my.cnf", 3),
      TlsFileFault::Kind::kMissing};
  ConnectProblem notACertificate = missingCa;
  notACertificate.tlsFile->kind = TlsFileFault::Kind::kNoCertificate;

  ConnectProblem wrongName = problem(ConnectFailure::kTlsStep, 2026);
  wrongName.host = "127.0.0.1:3307";
  wrongName.certificate = ServerCertificate{{"db.example.test"}, true, false};
  ConnectProblem untrusted = problem(ConnectFailure::kTlsStep, 2026);
  untrusted.certificate =
      ServerCertificate{{"db.example.org", "10.0.0.5"}, false, true};
  untrusted.trustSetting = "ssl-ca";
  untrusted.trust = at("other.pem", "/etc/mysql/my.cnf", 12);
  ConnectProblem noTls = problem(ConnectFailure::kTlsStep, 2026);
  noTls.serverOffersTls = false;

  const struct {
    const char* name;
    ConnectProblem problem;
    int32_t hexCount;
    const char* lines;
  } kCases[] = {
      {"final", problem(ConnectFailure::kFinal), 900, ""},
      {"away", problem(ConnectFailure::kServerAway), 900, ""},
      // An hourly limit that the server does not name, and a server that
      // requires TLS: in OptionFileAdviceNamesThisSystemsFile below.
      {"hourly limit, one run fits", hourly900, 600,
       "        The account may open 900 connections an hour, and this hour's "
       "are used\n"
       "        up. A run of this map opens up to 614 connections: one for each "
       "of its\n"
       "        600 hexes and up to 14 for its checks, so one run fits in an "
       "hour. Run\n"
       "        again in the next hour, or ask for a plan that allows 614 "
       "connections an\n"
       "        hour for each run within the hour. Or put single-connection "
       "under\n"
       "        [zelkor-generator] in ~/.my.cnf: a run then needs a handful of\n"
       "        connections.\n"},
      {"hourly limit, three runs fit", hourly2000, 600,
       "        The account may open 2000 connections an hour, and this hour's "
       "are used\n"
       "        up. A run of this map opens up to 614 connections: one for each "
       "of its\n"
       "        600 hexes and up to 14 for its checks, so 3 runs fit in an "
       "hour. Run\n"
       "        again in the next hour, or ask for a plan that allows 614 "
       "connections an\n"
       "        hour for each run within the hour. Or put single-connection "
       "under\n"
       "        [zelkor-generator] in ~/.my.cnf: a run then needs a handful of\n"
       "        connections.\n"},
      {"hourly limit, no run fits", hourly500, 600,
       "        The account may open 500 connections an hour, and this hour's "
       "are used\n"
       "        up. A run of this map opens up to 614 connections: one for each "
       "of its\n"
       "        600 hexes and up to 14 for its checks, so not even one run fits "
       "in an\n"
       "        hour. Ask for a plan that allows 614 connections an hour for "
       "each run\n"
       "        within the hour. Or put single-connection under "
       "[zelkor-generator] in\n"
       "        ~/.my.cnf: a run then needs a handful of connections.\n"},
      {"hourly limit, map page", hourly900, -1, ""},
      {"TLS step", problem(ConnectFailure::kTlsStep), 900,
       "        The connection failed in its TLS step: check ssl-ca and the "
       "server's\n"
       "        certificate, and that the server offers TLS.\n"},
      {"missing ssl-ca", missingCa, 900,
       "        ssl-ca=/etc/ssl/provider-ca.pem in /home/admin/.my.cnf (line 3) "
       "names no\n"
       "        file. Write the path of the right file there (for ssl-ca, the "
       "CA\n"
       "        certificate that the server's provider gives), or remove the "
       "line.\n"},
      {"ssl-ca that is no certificate", notACertificate, 900,
       "        ssl-ca=/etc/ssl/provider-ca.pem in /home/admin/.my.cnf (line 3) "
       "names a\n"
       "        file that holds no certificate. Write the path of the right "
       "file there\n"
       "        (for ssl-ca, the CA certificate that the server's provider "
       "gives), or\n"
       "        remove the line.\n"},
      {"certificate for another name", wrongName, 900,
       "        The server's certificate is made out for db.example.test, not "
       "for\n"
       "        127.0.0.1:3307 as config.txt names the server. Write\n"
       "        db.example.test:3307 as the host in config.txt.\n"},
      {"certificate nobody trusts", untrusted, 900,
       "        The server's certificate, made out for db.example.org and "
       "10.0.0.5, is\n"
       "        not signed by an authority in ssl-ca=other.pem in "
       "/etc/mysql/my.cnf\n"
       "        (line 12). Name the CA certificate file that the server's "
       "provider gives\n"
       "        in ssl-ca.\n"},
      {"server without TLS", noTls, 900,
       "        The server offers no TLS: ask its provider to turn TLS on, or "
       "remove\n"
       "        ssl-verify-server-cert from the option files to connect without "
       "it.\n"},
      {"login refused", problem(ConnectFailure::kRefusedWithoutTls, 1045), 900,
       "        The server refused the login: check the user and password in "
       "config.txt.\n"
       "        If they are right, the account may require TLS: add ssl and "
       "ssl-ca=FILE\n"
       "        under [zelkor-generator] in ~/.my.cnf.\n"},
      {"login refused over TLS", problem(ConnectFailure::kFinal, 1045), 900,
       "        The server refused the login: check the user and password in "
       "config.txt.\n"},
      {"port from an option file", portFromFile, 900,
       "        Tried port 34999 on 127.0.0.1, from port=34999 in "
       "/home/admin/.my.cnf\n"
       "        (line 2).\n"},
      {"port from the environment", portFromVariable, 900,
       "        Tried port 3307 on 127.0.0.1, from the variable "
       "MYSQL_TCP_PORT.\n"},
      {"port from config.txt", portFromConfig, 900,
       "        Tried port 3310 on 10.0.0.5, as config.txt names it.\n"},
      {"library's socket", defaultSocket, 900,
       "        Tried the socket /run/mysqld/mysqld.sock, the client library's "
       "default\n"
       "        socket. Name the server's socket in config.txt.\n"},
  };
  for (const auto& c : kCases) {
    // Windows' words name another option file, and so break other lines:
    // OptionFileAdviceNamesThisSystemsFile below holds them.
    if (kBuiltForWindows &&
        std::string(c.lines).find("~/.my.cnf") != std::string::npos) {
      continue;
    }
    const Stop stop = serverUnreachableStop(c.problem, {c.hexCount, 14, true});
    const std::string head =
        c.problem.host == "db.example.org"
            ? kHead
            : "Fatal:  Cannot connect to the MySQL server on host '" +
                  c.problem.host + "': the error\n";
    EXPECT_EQ(head + c.lines, stop.text) << c.name;
    EXPECT_EQ(-2, stop.status) << c.name;
  }
}

// The advice names the option file that this system's client library reads
// and a user writes: ~/.my.cnf on Linux, my.ini beside the program on
// Windows.
TEST(StopTest, OptionFileAdviceNamesThisSystemsFile) {
  const struct {
    const char* name;
    ConnectProblem problem;
    const char* linuxLines;
    const char* windowsLines;
  } kCases[] = {
      {"TLS required (4058)", problem(ConnectFailure::kRefusedWithoutTls, 4058),
       "        The server requires TLS: add ssl and ssl-ca=FILE under\n"
       "        [zelkor-generator] in ~/.my.cnf.\n",
       "        The server requires TLS: add ssl and ssl-ca=FILE under\n"
       "        [zelkor-generator] in my.ini beside zelkor-generator.exe.\n"},
      {"hourly limit not named", problem(ConnectFailure::kHourlyLimit),
       "        The account's connections for this hour are used up. A run of "
       "this map\n"
       "        opens up to 914 connections: one for each of its 900 hexes and "
       "up to 14\n"
       "        for its checks. Ask for a plan that allows 914 connections an "
       "hour for\n"
       "        each run within the hour. Or put single-connection under\n"
       "        [zelkor-generator] in ~/.my.cnf: a run then needs a handful "
       "of\n"
       "        connections.\n",
       "        The account's connections for this hour are used up. A run of "
       "this map\n"
       "        opens up to 914 connections: one for each of its 900 hexes and "
       "up to 14\n"
       "        for its checks. Ask for a plan that allows 914 connections an "
       "hour for\n"
       "        each run within the hour. Or put single-connection under\n"
       "        [zelkor-generator] in my.ini beside zelkor-generator.exe: a "
       "run then\n"
       "        needs a handful of connections.\n"},
  };
  for (const auto& c : kCases) {
    const Stop stop = serverUnreachableStop(c.problem, {900, 14, true});
    EXPECT_EQ(kHead + std::string(kBuiltForWindows ? c.windowsLines
                                                   : c.linuxLines),
              stop.text)
        << c.name;
  }
}

// With single-connection a run needs a connection or two: a spent hourly
// allowance is not this map's doing.
TEST(StopTest, HourlyLimitWithSingleConnection) {
  ConnectProblem hourly = problem(ConnectFailure::kHourlyLimit);
  hourly.hourlyLimit = 200;
  EXPECT_EQ(std::string(kHead) +
                "        The account may open 200 connections an hour, and "
                "this hour's are used\n"
                "        up. A run with single-connection opens one connection "
                "(and one more\n"
                "        after each it loses): other programs on the account "
                "have used the rest.\n"
                "        Run again in the next hour.\n",
            serverUnreachableStop(hourly, {1200, 14, false}).text);
}

TEST(StopTest, UnreadableHostWordsSayHowToWriteThem) {
  ConnectProblem port = problem(ConnectFailure::kFinal);
  port.host = "db:65536";
  port.hostWord = HostWordFault{HostWordFault::Kind::kPort, ""};
  EXPECT_EQ(
      "Fatal:  Cannot connect to the MySQL server on host 'db:65536': "
      "Unreadable port in host 'db:65536': give a number from 1 to 65535 "
      "after the colon\n",
      serverUnreachableStop(port).text);
  ConnectProblem brackets = problem(ConnectFailure::kFinal);
  brackets.host = "[::1";
  brackets.hostWord = HostWordFault{HostWordFault::Kind::kIpv6Brackets, ""};
  EXPECT_EQ(
      "Fatal:  Cannot connect to the MySQL server on host '[::1': "
      "Unreadable host '[::1': write an IPv6 address as [address] or "
      "[address]:port\n",
      serverUnreachableStop(brackets).text);
  ConnectProblem url = problem(ConnectFailure::kFinal);
  url.host = "mysql://webadmin@db.example.org:3306/webmap";
  url.hostWord =
      HostWordFault{HostWordFault::Kind::kUrl, "db.example.org:3306"};
  EXPECT_EQ(
      "Fatal:  Cannot connect to the MySQL server on host "
      "'mysql://webadmin@db.example.org:3306/webmap': Unreadable host "
      "'mysql://webadmin@db.example.org:3306/webmap': that is a web address; "
      "write the MySQL server's name or address alone, with its port after a "
      "colon: db.example.org:3306\n",
      serverUnreachableStop(url).text);
}

TEST(StopTest, RefusedOptionFileIsNamedWithItsLine) {
  using Kind = OptionFileFault::Kind;
  const struct {
    OptionFileFault fault;
    const char* first;
  } kCases[] = {
      {{{"/root/.my.cnf", 2}, Kind::kIncludeNamesNothing, "!includedir"},
       "Fatal:  The MySQL option file /root/.my.cnf, line 2, has !includedir "
       "with no folder after it.\n"},
      {{{"/root/.my.cnf", 0}, Kind::kNotAFile, "/root/.my.cnf"},
       "Fatal:  The MySQL option file /root/.my.cnf is a folder, a pipe or a "
       "device, not a file.\n"},
      {{{"/etc/my.cnf", 7}, Kind::kNotAFile, "/dev/zero"},
       "Fatal:  The MySQL option file /etc/my.cnf, line 7, includes /dev/zero, "
       "which is a folder, a pipe or a device, not a file.\n"},
      {{{"/root/.my.cnf", 3}, Kind::kTooLarge, "/proc/kcore"},
       "Fatal:  The MySQL option file /root/.my.cnf, line 3, includes "
       "/proc/kcore, which is larger than 1 MiB: no option file is.\n"},
      {{{"/root/.my.cnf", 5}, Kind::kUrlPath, "https://example.org/my.cnf"},
       "Fatal:  The MySQL option file /root/.my.cnf, line 5, includes "
       "https://example.org/my.cnf, which has \"://\" in its path: the "
       "client library would take it for an address to fetch.\n"},
      {{{"/root/.my.cnf", 4}, Kind::kNoOptionName, ""},
       "Fatal:  The MySQL option file /root/.my.cnf, line 4, has a setting "
       "without a name.\n"},
      {{{"/root/.my.cnf", 1}, Kind::kOptionBeforeGroup, "ssl"},
       "Fatal:  The MySQL option file /root/.my.cnf, line 1, has the setting "
       "'ssl' before any [group].\n"},
      {{{"/etc/mysql/my.cnf", 9},
        Kind::kDisableLocalInfile,
        "disable_local_infile"},
       "Fatal:  The MySQL option file /etc/mysql/my.cnf, line 9, has "
       "'disable_local_infile', which the client library crashes on: write "
       "local-infile=0, which says the same.\n"},
      {{{"/root/.my.cnf", 2}, Kind::kInitCommandEmpty, "init-command"},
       "Fatal:  The MySQL option file /root/.my.cnf, line 2, has "
       "'init-command' with no statement, which the client library crashes "
       "on.\n"},
      {{{"C:\\zelkor\\my.ini", 0}, Kind::kByteOrderMark, ""},
       "Fatal:  The MySQL option file C:\\zelkor\\my.ini begins with a byte "
       "order mark (Notepad's \"UTF-8 with BOM\"), which the client library "
       "does not read: save it as \"UTF-8\" or \"ANSI\".\n"},
      {{{"C:\\zelkor\\my.ini", 0}, Kind::kUtf16, ""},
       "Fatal:  The MySQL option file C:\\zelkor\\my.ini is saved as UTF-16 "
       "(Notepad's \"Unicode\"), which the client library does not read: "
       "save it as \"UTF-8\" or \"ANSI\".\n"},
      {{{"C:\\zelkor\\my.ini", 4},
        Kind::kEscapedControlCharacter,
        "ssl-ca=C:\\tmp\\certs\\ca.pem"},
       "Fatal:  The MySQL option file C:\\zelkor\\my.ini, line 4, has "
       "ssl-ca=C:\\tmp\\certs\\ca.pem, in which the client library reads \\t as "
       "a tab (a backslash starts an escape in an option file): write "
       "C:/tmp/certs/ca.pem or C:\\\\tmp\\\\certs\\\\ca.pem.\n"},
      {{{"/root/.my.cnf", 6}, Kind::kConnectionUnsafe, "connection"},
       "Fatal:  The MySQL option file /root/.my.cnf, line 6, has 'connection' "
       "with no value, or with init-command or disable-local-infile in it, "
       "which the client library crashes on: write the settings one per "
       "line.\n"},
  };
  for (const auto& c : kCases) {
    ConnectProblem p = problem(ConnectFailure::kOptionFile);
    p.optionFile = c.fault;
    const Stop stop = serverUnreachableStop(p, {900, 14});
    EXPECT_EQ(std::string(c.first) +
                  "        The MySQL client library would not read it safely, "
                  "so no connection was\n"
                  "        opened. Mend or remove that line (or file), then "
                  "run again.\n",
              stop.text);
    EXPECT_EQ(-2, stop.status);
  }
}

TEST(StopTest, ContinuationLinesBreakAtEightyColumns) {
  EXPECT_EQ("", continuationLines(""));
  EXPECT_EQ("        one two\n", continuationLines("one two"));
  const std::string word70(70, 'x');
  const std::string word72(72, 'y');
  EXPECT_EQ("        " + word72 + "\n        a\n",
            continuationLines(word72 + " a"));
  EXPECT_EQ("        a " + word70 + "\n", continuationLines("a " + word70));
  EXPECT_EQ("        a\n        " + word70 + "x\n",
            continuationLines("a " + word70 + "x"));
  // A word longer than a line stands alone on its line, whole.
  const std::string word90(90, 'z');
  EXPECT_EQ("        a\n        " + word90 + "\n        b\n",
            continuationLines("a " + word90 + " b"));
}

TEST(StopTest, ConfigurationStopsSayWhyAndWhatToDo) {
  using Kind = ConfigurationFault::Kind;
  using Why = ConfigurationFault::Why;
  const auto notFound = [](Why why, bool doubled) {
    ConfigurationFault fault;
    fault.kind = Kind::kNotFound;
    fault.why = why;
    fault.folder = "C:\\Windows\\System32";
    fault.nameDoubled = doubled;
    return fault;
  };
  const auto invalid = [](Why why, int words = 0) {
    ConfigurationFault fault;
    fault.kind = Kind::kInvalid;
    fault.why = why;
    fault.words = words;
    return fault;
  };
  const struct {
    ConfigurationFault fault;
    int status;
    const char* text;
  } kCases[] = {
      {notFound(Why::kMissing, false), -99999,
       "Fatal:  Configuration file not found!\n"
       "        No config.txt in C:\\Windows\\System32, the folder the tool was started\n"
       "        in. Start it in the folder that holds config.txt (for a shortcut or a\n"
       "        scheduled task, its \"Start in\" folder).\n"},
      {notFound(Why::kMissing, true), -99999,
       "Fatal:  Configuration file not found!\n"
       "        No config.txt in C:\\Windows\\System32, the folder the tool was started\n"
       "        in. Start it in the folder that holds config.txt (for a shortcut or a\n"
       "        scheduled task, its \"Start in\" folder). A config.txt.txt lies there:\n"
       "        Windows hides the ending .txt, so it was typed twice. Rename that file\n"
       "        to config.txt.\n"},
      {notFound(Why::kNotReadable, false), -99999,
       "Fatal:  Configuration file not found!\n"
       "        config.txt in C:\\Windows\\System32 is there, but this run may not read\n"
       "        it: let the account that runs the tool read it.\n"},
      {notFound(Why::kNotAFile, false), -99999,
       "Fatal:  Configuration file not found!\n"
       "        config.txt in C:\\Windows\\System32 is a folder or a device, not a file.\n"
       "        Write the settings in a file of that name.\n"},
      {invalid(Why::kNothingAfterFifthWord), -99998,
       "Fatal:  Configuration file is invalid!\n"
       "        config.txt ends right after its fifth word: press Enter after the last\n"
       "        line, then save it.\n"},
      {invalid(Why::kUtf16), -99998,
       "Fatal:  Configuration file is invalid!\n"
       "        config.txt is saved as UTF-16 (Notepad's \"Unicode\"), which the tool does\n"
       "        not read: save it as UTF-8 or ANSI (in Notepad: Save As, Encoding).\n"},
      {invalid(Why::kTooFewWords, 1), -99998,
       "Fatal:  Configuration file is invalid!\n"
       "        config.txt holds 1 word and needs five, apart by blanks or line ends:\n"
       "        the game database's path, the MySQL host, user and password (& for\n"
       "        none), and the webmap database's name.\n"},
      {invalid(Why::kNulByte), -99998,
       "Fatal:  Configuration file is invalid!\n"
       "        A word of config.txt holds a NUL byte: write the file again as plain\n"
       "        text.\n"},
  };
  for (const auto& c : kCases) {
    const Stop stop = configurationStop(c.fault);
    EXPECT_EQ(c.text, stop.text);
    EXPECT_EQ(c.status, stop.status);
    EXPECT_EQ("Press any key to exit...\n", stop.prompt);
  }
}

}  // namespace
