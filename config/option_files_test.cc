#include "config/option_files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>

#include "test_support/temp_dir.h"

namespace {

struct Expected {
  bool tls;
  bool verifyServerCert;
  bool trustNamed;
  bool namesDatabase;
};

void expectSettings(const Expected& expected, const ClientOptionSettings& read,
                    const char* name) {
  EXPECT_EQ(expected.tls, read.tls) << name;
  EXPECT_EQ(expected.verifyServerCert, read.verifyServerCert) << name;
  EXPECT_EQ(expected.trustNamed, read.trustNamed) << name;
  EXPECT_EQ(expected.namesDatabase, read.namesDatabase) << name;
}

TEST(OptionFilesTest, ReadsTheSettingsOfTheClientGroups) {
  const struct {
    const char* name;
    const char* file;
    Expected expected;
  } kCases[] = {
      {"nothing", "", {false, false, false, false}},
      {"Debian's own",
       "[client-server]\nsocket = /run/mysqld/mysqld.sock\n",
       {false, false, false, false}},
      {"bare ssl", "[client]\nssl\n", {true, false, false, false}},
      {"ssl=1", "[client]\nssl=1\n", {true, false, false, false}},
      {"ssl = ON, blanks",
       "[client]\n  ssl = ON  \n",
       {true, false, false, false}},
      {"ssl=0", "[client]\nssl=0\n", {false, false, false, false}},
      {"ssl then skip-ssl",
       "[client]\nssl\nskip-ssl\n",
       {false, false, false, false}},
      {"skip-ssl then ssl",
       "[client]\nskip_ssl\nssl\n",
       {true, false, false, false}},
      {"loose-ssl", "[client]\nloose-ssl\n", {true, false, false, false}},
      {"value-less ssl-enforce",
       "[client]\nssl-enforce\n",
       {true, false, false, false}},
      {"ssl-ca", "[client]\nssl-ca=/etc/ca.pem\n", {true, false, true, false}},
      {"ssl_capath, quoted",
       "[client]\nssl_capath=\"/etc/certs\"\n",
       {true, false, true, false}},
      {"empty ssl-ca", "[client]\nssl-ca=\n", {false, false, false, false}},
      {"client certificate",
       "[client]\nssl-cert=c.pem\nssl-key=k.pem\n",
       {true, false, false, false}},
      {"value-less verify",
       "[client]\nssl-verify-server-cert\n",
       {true, true, false, false}},
      {"verify off",
       "[client]\nssl-verify-server-cert=0\n",
       {false, false, false, false}},
      {"tool's group",
       "[zelkor-generator]\nssl\nssl-ca=ca.pem\n",
       {true, false, true, false}},
      {"client-mariadb",
       "[client-mariadb]\nssl\n",
       {true, false, false, false}},
      {"client-server", "[client-server]\nssl\n", {true, false, false, false}},
      {"other programs' groups",
       "[mysql]\nssl\n[mysqld]\nssl-ca=x\n"
       "[mysqldump]\ndatabase=d\n",
       {false, false, false, false}},
      {"back in a read group",
       "[mysql]\nssl\n[client]\n# ssl\n; ssl\n",
       {false, false, false, false}},
      {"database", "[client]\ndatabase=forum\n", {false, false, false, true}},
  };
  for (const auto& c : kCases) {
    ScopedTempDir dir;
    const std::string file = dir.write("my.cnf", c.file);
    expectSettings(c.expected, readClientOptionSettings({file}), c.name);
  }
}

// The library reads the files again at every connect; it need not when the
// connect decides everything the files say.
TEST(OptionFilesTest, LibraryReadsTheFilesOnlyWhenTheyMatter) {
  const struct {
    const char* file;
    bool tcp;
    bool socketGiven;
    bool portGiven;
    bool mustRead;
  } kCases[] = {
      {"", false, false, false, false},
      {"[mysql]\nssl-ca=x\n", true, false, false, false},
      {"[client]\nuser=u\npassword=p\nhost=h\ndatabase=d\n", true, false, false,
       false},
      {"[client]\nssl\nssl-verify-server-cert\n", true, false, false, false},
      // Debian's: the socket matters only to a connect that names none.
      {"[client-server]\nsocket=/run/mysqld/mysqld.sock\n", true, false, false,
       false},
      {"[client-server]\nsocket=/run/mysqld/mysqld.sock\n", false, true, false,
       false},
      {"[client-server]\nsocket=/run/mysqld/mysqld.sock\n", false, false, false,
       true},
      {"[client]\nport=3307\n", false, false, false, false},
      {"[client]\nport=3307\n", true, false, true, false},
      {"[client]\nport=3307\n", true, false, false, true},
      {"[client]\nssl-ca=/etc/ca.pem\n", true, false, true, true},
      {"[client]\nloose-default-character-set=utf8mb4\n", false, true, false,
       true},
  };
  for (const auto& c : kCases) {
    ScopedTempDir dir;
    const ClientOptionSettings settings =
        readClientOptionSettings({dir.write("my.cnf", c.file)});
    EXPECT_EQ(c.mustRead, libraryMustReadOptionFiles(
                              settings, c.tcp, c.socketGiven, c.portGiven))
        << c.file << " tcp " << c.tcp << " socket " << c.socketGiven << " port "
        << c.portGiven;
  }
}

TEST(OptionFilesTest, LaterFilesGoBeforeEarlierOnes) {
  ScopedTempDir dir;
  const std::string system = dir.write("system.cnf", "[client]\nssl\n");
  const std::string user = dir.write("user.cnf", "[client]\nskip-ssl\n");
  EXPECT_FALSE(readClientOptionSettings({system, user}).tls);
  EXPECT_TRUE(readClientOptionSettings({user, system}).tls);
  EXPECT_FALSE(readClientOptionSettings({dir.file("missing.cnf")}).tls);
}

// As the client library reads them: !include a file, and !includedir a
// folder's my.cnf (other files in the folder are not read).
TEST(OptionFilesTest, IncludesAreFollowed) {
  ScopedTempDir dir;
  ASSERT_EQ(0, mkdir(dir.file("conf.d").c_str(), 0700));
  dir.write("tls.cnf", "[client]\nssl\n");
  dir.write("conf.d/my.cnf", "[client]\nssl-ca=/etc/ca.pem\n");
  dir.write("conf.d/other.cnf", "[client]\ndatabase=forum\n");
  const std::string main =
      dir.write("my.cnf", "!include " + dir.file("tls.cnf") + "\n!includedir " +
                              dir.file("conf.d") + "\n");
  expectSettings({true, false, true, false}, readClientOptionSettings({main}),
                 "includes");
  const std::string loop =
      dir.write("loop.cnf", "!include " + dir.file("loop.cnf") + "\n");
  EXPECT_FALSE(readClientOptionSettings({loop}).tls);
}

// Puts an environment variable back as it was when the test ends.
class SavedVariable {
 public:
  explicit SavedVariable(const char* name) : name_(name) {
    const char* value = std::getenv(name);
    if (value != nullptr) value_ = value;
    set_ = value != nullptr;
  }
  ~SavedVariable() {
    if (set_) {
      setenv(name_, value_.c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::string value_;
  bool set_;
};

TEST(OptionFilesTest, FilesAreTheClientLibrarys) {
  const SavedVariable home("HOME"), mysqlHome("MYSQL_HOME"),
      mariadbHome("MARIADB_HOME");
  setenv("HOME", "/home/admin", 1);
  setenv("MYSQL_HOME", "/srv/mysql", 1);
  unsetenv("MARIADB_HOME");
  EXPECT_EQ(
      (std::vector<std::string>{"/etc/my.cnf", "/etc/mysql/my.cnf",
                                "/srv/mysql/my.cnf", "/home/admin/.my.cnf"}),
      clientOptionFiles());
  setenv("MARIADB_HOME", "/srv/mariadb", 1);
  EXPECT_EQ(
      (std::vector<std::string>{"/etc/my.cnf", "/etc/mysql/my.cnf",
                                "/srv/mariadb/my.cnf", "/home/admin/.my.cnf"}),
      clientOptionFiles());
  unsetenv("MARIADB_HOME");
}

}  // namespace
