// The webmap on servers as hosting plans and managed database services run
// them, each a server of the test's own on a 127.0.0.1 port: TLS required
// and set up through the client option files, accounts with connection
// limits, and a server that restarts during a run. The tool's option files
// are the test's own (HOME and MYSQL_HOME name a scratch folder).
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>

#include "test_support/private_server.h"
#include "test_support/tcp_proxy.h"
#include "test_support/test_certificates.h"
#include "test_support/webmap_run_fixture.h"

namespace {

// MariaDB refuses a login without TLS as it refuses a wrong password.
constexpr char kLoginRefused[] =
    "        The server refused the login: check the user and password in "
    "config.txt.\n"
    "        If they are right, the account may require TLS: add ssl and "
    "ssl-ca=FILE\n"
    "        under [zelkor-generator] in ~/.my.cnf.\n"
    "Press any key to exit...\n";
constexpr char kServerOffersNoTls[] =
    "        The server offers no TLS: ask its provider to turn TLS on, or "
    "remove\n"
    "        ssl-verify-server-cert from the option files to connect without "
    "it.\n"
    "Press any key to exit...\n";
constexpr char kWaiting[] = "Info:   Waiting for the MySQL server: ";
constexpr char kAnswersAgain[] = "Info:   The MySQL server answers again.\n";

// The README's grant, for an account that logs in over TCP from 127.0.0.1.
constexpr char kGrant[] =
    "GRANT CREATE, DROP, SELECT, INSERT, UPDATE, DELETE ON webmap.* TO "
    "'webadmin'@'127.0.0.1'";

bool endsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() &&
         text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

std::string afterBanner(const ToolRun& run) { return outputAfterBanner(run); }

// Continuation lines ("        " and words) as one line of words; each line
// must keep within 80 columns.
std::string unwrapped(const std::string& lines) {
  std::string words;
  size_t begin = 0;
  while (begin < lines.size()) {
    size_t end = lines.find('\n', begin);
    if (end == std::string::npos) end = lines.size();
    const std::string line = lines.substr(begin, end - begin);
    EXPECT_LE(line.size(), 80u) << line;
    EXPECT_EQ(0u, line.rfind("        ", 0)) << line;
    words += (words.empty() ? "" : " ") + line.substr(8);
    begin = end + 1;
  }
  return words;
}

class HostedServerTest : public ::testing::Test {
 protected:
  // Starts the server on a free 127.0.0.1 port with these options and
  // creates the account webadmin (password "secret", then limits) with the
  // README's grant; config.txt names the server and the account.
  void startServer(std::vector<std::string> serverOptions,
                   const std::string& limits = "") {
    PrivateServerOptions options = onLoopbackTcp();
    serverPort_ = options.tcpPort;
    options.serverOptions = std::move(serverOptions);
    server_ = std::make_unique<PrivateServer>(options);
    rootQuery("CREATE USER 'webadmin'@'127.0.0.1' IDENTIFIED BY 'secret'" +
              limits);
    rootQuery(kGrant);
    dir_.write("config.txt",
               "game.db 127.0.0.1:" + std::to_string(options.tcpPort) +
                   " webadmin secret webmap\n");
  }

  Rows rootQuery(const std::string& statement) {
    return query(statement, "", server_->socket());
  }

  // The client option file in the tool's home folder.
  void writeOptionFile(const std::string& text) {
    home_.write(userOptionFile(), text);
  }

  ToolOptions options(const std::string& program = "") {
    ToolOptions o =
        toolOptions({"HOME=" + home_.path(), "MYSQL_HOME=" + home_.path()});
    o.program = program;
    return o;
  }
  ToolRun run() { return runTool(dir_.path(), options()); }

  // How many maphex rows hold the plain map of this many columns, with
  // economy in their economy columns (-1: the plain map's own, ID mod 6).
  int64_t plainRows(int columns, int economy = -1) {
    const std::string c = std::to_string(columns);
    const std::string e = economy < 0 ? "ID MOD 6" : std::to_string(economy);
    return std::stoll(
        rootQuery("SELECT COUNT(*) FROM webmap.maphex WHERE X = ID MOD " + c +
                  " AND Y = ID DIV " + c +
                  " AND PoliticalControl = ID MOD 9 AND BaseVictoryPoints = "
                  "ID MOD 11 AND BaseEconomicPoints = " +
                  e + " AND CurrentEconomicPoints = " + e)
            .at(0)
            .at(0));
  }
  int64_t maphexRows() {
    return std::stoll(
        rootQuery("SELECT COUNT(*) FROM webmap.maphex").at(0).at(0));
  }

  ScopedTempDir dir_;
  ScopedTempDir home_;
  ScopedTempDir certificateDir_;
  std::unique_ptr<PrivateServer> server_;
  int serverPort_ = 0;
};

TEST_F(HostedServerTest, ServerThatRequiresTlsIsReachedThroughTheOptionFile) {
  const TestCertificates tls = makeTestCertificates(certificateDir_);
  startServer({"--ssl-ca=" + tls.authority,
               "--ssl-cert=" + tls.serverCertificate,
               "--ssl-key=" + tls.serverKey, "--require-secure-transport=ON"});
  dir_.write("game.db", plainMap().bytes());

  // No TLS settings: the login is refused, and the stop says why it may be.
  const ToolRun plain = run();
  EXPECT_EQ(254, plain.exitCode) << plain.out;  // -2
  EXPECT_TRUE(endsWith(plain.out, kLoginRefused)) << plain.out;

  // The user's options as the mariadb client takes them. [client] names
  // another user, password, host, port and default database, which
  // config.txt overrides: the webmap is created all the same.
  const auto accepted = [&] {
    return std::stoll(
        rootQuery("SHOW GLOBAL STATUS LIKE 'Ssl_accepts'").at(0).at(1));
  };
  const int64_t acceptedBefore = accepted();
  writeOptionFile("[client]\nssl\nssl-ca=" + tls.authority +
                  "\nuser=intruder\npassword=wrong\nhost=localhost\nport=1\n"
                  "database=forum\n");
  expectFirstRunThenUpdateRun([&] { return run(); });
  EXPECT_EQ(kPlainMapRows, query(kSelectHexes, "webmap", server_->socket()));
  // 16 connections for the first run of 6 hexes, 11 for the update.
  EXPECT_GE(accepted() - acceptedBefore, 27);

  // The map page reads the same files.
  const ToolRun page = runTool(dir_.path(), options(mapPagePath()));
  EXPECT_EQ("Info:   Wrote webmap.html: 6 hexes drawn.\n", page.out);
  EXPECT_EQ(0, page.exitCode);

  // The tool's own group, with the certificate checked by name.
  writeOptionFile("[zelkor-generator]\nssl\nssl-ca=" + tls.authority + "\n");
  const ToolRun ownGroup = run();
  EXPECT_EQ(kUpdateRunLines, afterBanner(ownGroup));
  EXPECT_EQ(0, ownGroup.exitCode);

  // TLS without a certificate check (which then skips loading the system's
  // certificate authorities).
  writeOptionFile("[client]\nssl\n");
  const ToolRun unchecked = run();
  EXPECT_EQ(kUpdateRunLines, afterBanner(unchecked));
  EXPECT_EQ(0, unchecked.exitCode);

  // A certificate that the trusted authority did not sign.
  writeOptionFile("[client]\nssl\nssl-verify-server-cert\nssl-ca=" +
                  tls.otherAuthority + "\n");
  const ToolRun untrusted = run();
  EXPECT_EQ(254, untrusted.exitCode) << untrusted.out;
  EXPECT_NE(std::string::npos,
            untrusted.out.find("The server's certificate, made out for "
                               "127.0.0.1 and localhost, is not\n"
                               "        signed by an authority in ssl-ca=" +
                               tls.otherAuthority))
      << untrusted.out;
}

// TLS as a hosting provider gives it: the server requires it, and the
// provider's certificate authority goes in the option file. (The Windows
// programs check the certificate through Windows' own TLS, SChannel.)
TEST_F(HostedServerTest, TlsWithTheProvidersAuthorityCompletesAnotherIsRefused) {
  const TestCertificates tls = makeTestCertificates(certificateDir_);
  startServer({"--ssl-ca=" + tls.authority,
               "--ssl-cert=" + tls.serverCertificate,
               "--ssl-key=" + tls.serverKey, "--require-secure-transport=ON"});
  dir_.write("game.db", plainMap().bytes());
  writeOptionFile("[zelkor-generator]\nssl\nssl-ca=" + tls.authority + "\n");
  // The server takes no login without TLS: these runs went over it.
  expectFirstRunThenUpdateRun([&] { return run(); });
  EXPECT_EQ(kPlainMapRows, query(kSelectHexes, "webmap", server_->socket()));
  const ToolRun page = runTool(dir_.path(), options(mapPagePath()));
  EXPECT_EQ("Info:   Wrote webmap.html: 6 hexes drawn.\n", page.out);
  EXPECT_EQ(0, page.exitCode);

  writeOptionFile("[zelkor-generator]\nssl\nssl-ca=" + tls.otherAuthority +
                  "\n");
  const ToolRun untrusted = run();
  EXPECT_EQ(254, untrusted.exitCode) << untrusted.out;  // -2
  EXPECT_NE(std::string::npos,
            untrusted.out.find("Fatal:  Cannot connect to the MySQL server on "
                               "host '127.0.0.1:" +
                               std::to_string(serverPort_) + "': "))
      << untrusted.out;
}

// The client library requires TLS only of connections that check the
// server's certificate.
TEST_F(HostedServerTest, CheckedTlsRefusesAServerWithoutTls) {
  const TestCertificates tls = makeTestCertificates(certificateDir_);
  startServer({});
  dir_.write("game.db", plainMap().bytes());
  writeOptionFile("[client]\nssl-verify-server-cert\nssl-ca=" + tls.authority +
                  "\n");
  const ToolRun r = run();
  EXPECT_EQ(254, r.exitCode) << r.out;
  EXPECT_TRUE(endsWith(r.out, kServerOffersNoTls)) << r.out;
}

// Set-ups that hosting plans and users get wrong, each against a server of
// its own: the stop names what to mend, with the words that matter (the
// certificate's name, the path and where it was set, the port tried and
// where it came from).
TEST_F(HostedServerTest, FailingSetUpsSayWhatToMend) {
  const TestCertificates tls = makeTestCertificates(certificateDir_);
  const std::string notACertificate =
      certificateDir_.write("notes.txt", "not a certificate\n");
  const std::string missing = certificateDir_.file("missing.pem");
  const int idlePort = freeLoopbackPort();
  const std::vector<std::string> tlsServer = {
      "--ssl-ca=" + tls.authority, "--ssl-cert=" + tls.serverCertificate,
      "--ssl-key=" + tls.serverKey};
  const std::vector<std::string> namedServer = {
      "--ssl-ca=" + tls.authority, "--ssl-cert=" + tls.namedCertificate,
      "--ssl-key=" + tls.namedKey};
  const std::string myCnf = home_.file(".my.cnf");
  // {port}: the server's port. The words after the Fatal line, with the
  // line breaks of the continuation lines taken out.
  const struct {
    const char* name;
    std::vector<std::string> serverOptions;
    std::string optionFile;
    std::string configuration;
    std::string words;
  } kCases[] = {
      {"a wrong password, a server without TLS", {}, "",
       "game.db 127.0.0.1:{port} webadmin wrong webmap\n",
       "The server refused the login: check the user and password in "
       "config.txt. If they are right, the account may require TLS: add ssl "
       "and ssl-ca=FILE under [zelkor-generator] in ~/.my.cnf."},
      {"a certificate made out for another name", namedServer,
       "[zelkor-generator]\nssl-verify-server-cert\nssl-ca=" + tls.authority +
           "\n",
       "game.db 127.0.0.1:{port} webadmin secret webmap\n",
       "The server's certificate is made out for db.example.test, not for "
       "127.0.0.1:{port} as config.txt names the server. Write "
       "db.example.test:{port} as the host in config.txt."},
      {"ssl-ca naming no file", tlsServer,
       "[client]\nssl-ca=" + missing + "\n",
       "game.db 127.0.0.1:{port} webadmin secret webmap\n",
       "ssl-ca=" + missing + " in " + myCnf +
           " (line 2) names no file. Write the path of the right file there "
           "(for ssl-ca, the CA certificate that the server's provider "
           "gives), or remove the line."},
      {"ssl-ca naming no certificate", tlsServer,
       "[client]\nssl\n\nssl-ca=" + notACertificate + "\n",
       "game.db 127.0.0.1:{port} webadmin secret webmap\n",
       "ssl-ca=" + notACertificate + " in " + myCnf +
           " (line 4) names a file that holds no certificate. Write the path "
           "of the right file there (for ssl-ca, the CA certificate that the "
           "server's provider gives), or remove the line."},
      {"a port from an option file, nothing there", {},
       "[client]\nport=" + std::to_string(idlePort) + "\n",
       "game.db 127.0.0.1 webadmin secret webmap\n",
       "Tried port " + std::to_string(idlePort) + " on 127.0.0.1, from port=" +
           std::to_string(idlePort) + " in " + myCnf + " (line 2)."},
  };
  const auto withPort = [&](std::string text) {
    const std::string port = std::to_string(serverPort_);
    for (size_t at; (at = text.find("{port}")) != std::string::npos;) {
      text.replace(at, 6, port);
    }
    return text;
  };
  for (const auto& c : kCases) {
    startServer(c.serverOptions);
    dir_.write("game.db", plainMap().bytes());
    dir_.write("config.txt", withPort(c.configuration));
    writeOptionFile(c.optionFile);
    for (const std::string& program : {toolPath(), mapPagePath()}) {
      const ToolRun r = runTool(dir_.path(), options(program));
      EXPECT_EQ(254, r.exitCode) << c.name << "\n" << r.out;  // -2
      const size_t fatal = r.out.find("Fatal:  Cannot connect");
      ASSERT_NE(std::string::npos, fatal) << c.name << "\n" << r.out;
      std::string rest = r.out.substr(r.out.find('\n', fatal) + 1);
      const std::string prompt = "Press any key to exit...\n";
      if (program == toolPath()) {
        ASSERT_TRUE(endsWith(rest, prompt)) << c.name << "\n" << r.out;
        rest.resize(rest.size() - prompt.size());
      }
      EXPECT_EQ(withPort(c.words), unwrapped(rest))
          << c.name << ", " << program << "\n" << r.out;
    }
    server_.reset();
  }
}

// The server counts a closed connection as gone a moment after the client
// has closed it, so an account allowed one connection at a time meets its
// limit now and then; the connect is tried again.
TEST_F(HostedServerTest, AccountWithOneConnectionAtATimeCompletesEveryRun) {
  startServer({}, " WITH MAX_USER_CONNECTIONS 1");
  dir_.write("game.db", plainGameDb(30, 30).bytes());
  for (int i = 0; i < 5; ++i) {
    const ToolRun r = run();
    EXPECT_EQ(0, r.exitCode) << "run " << i << ":\n" << r.out;
    EXPECT_EQ(900, maphexRows()) << "run " << i;
    EXPECT_EQ(900, plainRows(30)) << "run " << i;
  }
  EXPECT_EQ((Rows{{"777777", "30", "30", "1"}}),
            rootQuery("SELECT ID, Width, Height, CorrectedBaseAIs FROM "
                      "webmap.mapdescription"));
}

// The second run within the hour finds the hour's allowance used up.
TEST_F(HostedServerTest, HourlyConnectionLimitIsNamedWithTheRunsNeed) {
  startServer({}, " WITH MAX_CONNECTIONS_PER_HOUR 60");
  dir_.write("game.db", plainGameDb(5, 5).bytes());
  ASSERT_EQ(0, run().exitCode);
  const auto started = std::chrono::steady_clock::now();
  const ToolRun r = run();
  EXPECT_EQ(254, r.exitCode) << r.out;
  EXPECT_TRUE(endsWith(
      r.out,
      "        The account may open 60 connections an hour, and this hour's "
      "are used\n"
      "        up. A run of this map opens up to 39 connections: one for each "
      "of its 25\n"
      "        hexes and up to 14 for its checks, so one run fits in an hour. "
      "Run again\n"
      "        in the next hour, or ask for a plan that allows 39 connections "
      "an hour\n"
      "        for each run within the hour. Or put single-connection under\n"
      "        [zelkor-generator] in ~/.my.cnf: a run then needs a handful of\n"
      "        connections.\n"
      "        This run had written 21 of 25 hexes when it could no longer "
      "connect: the\n"
      "        webmap now mixes this turn and the last, and web pages show it "
      "so. Run\n"
      "        the tool again once it can connect: the next run writes every "
      "hex.\n"
      "Press any key to exit...\n"))
      << r.out;
  EXPECT_EQ(std::string::npos, r.out.find(kWaiting)) << "not tried again";
  EXPECT_LT(std::chrono::steady_clock::now() - started,
            std::chrono::seconds(20))
      << "not tried again";
}

// The server is killed while the run waits for a connection (a relay holds
// the run's next connection before the server's greeting, so that no
// statement is on its way), and started again a second later: the run
// waits for it and completes, and the webmap holds the new turn only.
TEST_F(HostedServerTest, ServerRestartedDuringTheUploadIsWaitedFor) {
  startServer({});
  constexpr int kSide = 20;
  TcpProxy relay(serverPort_);
  dir_.write("config.txt", "game.db 127.0.0.1:" + std::to_string(relay.port()) +
                               " webadmin secret webmap\n");
  dir_.write("game.db", plainGameDb(kSide, kSide).bytes());
  ASSERT_EQ(0, run().exitCode);

  // The next turn: every hex has a new economy.
  dir_.write("game.db", gameDbWithMap(kSide, kSide, [](int i) {
                          HexValues f = plainHex(i, kSide);
                          f.economy = 9;
                          return f;
                        }).bytes());
  ToolRun restarted;
  std::thread tool([&] { restarted = run(); });
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (plainRows(kSide, 9) < 100 &&
         std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  relay.hold();
  const bool held = relay.waitUntilOnlyAHeldConnection();
  server_->kill();
  relay.release();  // the held connection finds no server
  std::this_thread::sleep_for(std::chrono::seconds(1));
  server_->start();
  tool.join();

  ASSERT_TRUE(held) << "the run opened no connection to hold";
  EXPECT_EQ(0, restarted.exitCode) << restarted.out;
  EXPECT_NE(std::string::npos, restarted.out.find(kWaiting)) << restarted.out;
  EXPECT_TRUE(endsWith(restarted.out, std::string(kAnswersAgain) + kComplete))
      << restarted.out;
  EXPECT_EQ(kSide * kSide, maphexRows());
  EXPECT_EQ(kSide * kSide, plainRows(kSide, 9));
}

}  // namespace
