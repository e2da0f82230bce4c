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
  EXPECT_FALSE(readClientOptionSettings({main}).fault);
}

// What the client library's reader does not read safely is refused, with
// the file and line, before the library could see it. The four-line file
// first sent the library round its own files without end.
TEST(OptionFilesTest, MalformedFilesAreRefusedWithTheirLine) {
  using Kind = OptionFileFault::Kind;
  const struct {
    const char* name;
    std::string text;
    Kind kind;
    int line;
    std::string detail;
  } kCases[] = {
      {"the looping four lines", "[client]\n!includedir \n!include \n=x\n",
       Kind::kIncludeNamesNothing, 2, "!includedir"},
      {"!include without a path", "[client]\n!include\n",
       Kind::kIncludeNamesNothing, 2, "!include"},
      {"!include with blanks only", "!include   \t \n",
       Kind::kIncludeNamesNothing, 1, "!include"},
      {"!include with a tab", "!include\t/etc/x.cnf\n",
       Kind::kUnknownDirective, 1, "!include\t/etc/x.cnf"},
      {"unknown directive", "[client]\n!source /etc/x.cnf\n",
       Kind::kUnknownDirective, 2, "!source"},
      {"a line that starts with =", "[client]\nssl\n  = value\n",
       Kind::kNoOptionName, 3, ""},
      {"an odd name", "[client]\nssl ca=/x\n", Kind::kNoOptionName, 2,
       "ssl ca"},
      {"setting before any group", "ssl\n[client]\n",
       Kind::kOptionBeforeGroup, 1, "ssl"},
      {"group not closed", "[client\nssl\n", Kind::kGroupNotClosed, 1,
       "[client"},
      {"empty group", "[]\nssl\n", Kind::kGroupNotClosed, 1, "[]"},
      {"CR line ends", "[client]\rssl\r", Kind::kLoneCarriageReturn, 1, ""},
      {"NUL byte", std::string("[client]\nss\0l\n", 14), Kind::kNulByte, 2,
       ""},
      {"line too long", "[client]\n# " + std::string(4093, 'x') + "\n",
       Kind::kLineTooLong, 2, ""},
      {"quote line", "[client]\n\"ssl\"\n", Kind::kStartsWithQuote, 2, ""},
      // Settings the library's reader crashes on.
      {"disable-local-infile", "[client]\nssl\ndisable-local-infile=1\n",
       Kind::kDisableLocalInfile, 3, "disable-local-infile"},
      {"disable_local_infile bare, last",
       "[client-mariadb]\ndisable_local_infile", Kind::kDisableLocalInfile, 2,
       "disable_local_infile"},
      {"disable-local-infile in the tool's group",
       "[zelkor-generator]\n  disable-local-infile = 0\n",
       Kind::kDisableLocalInfile, 2, "disable-local-infile"},
      {"init-command empty", "[client]\ninit-command=\n",
       Kind::kInitCommandEmpty, 2, "init-command"},
      {"init_command bare", "[client-server]\ninit_command\n",
       Kind::kInitCommandEmpty, 2, "init_command"},
      {"init-command of two quotes", "[client]\ninit-command = ''  \n",
       Kind::kInitCommandEmpty, 2, "init-command"},
      {"init-command of one quote", "[client]\ninit-command=\"\n",
       Kind::kInitCommandEmpty, 2, "init-command"},
      // What Notepad writes and the library reads as something else.
      {"UTF-8 byte order mark", "\xEF\xBB\xBF[zelkor-generator]\nssl\n",
       Kind::kByteOrderMark, 0, ""},
      {"UTF-16 LE with its mark",
       std::string("\xFF\xFE[\0c\0]\0\r\0\n\0", 12), Kind::kUtf16, 0, ""},
      {"UTF-16 BE with its mark", std::string("\xFE\xFF\0[\0c\0]\0\n", 10),
       Kind::kUtf16, 0, ""},
      {"UTF-16 LE without a mark", std::string("[\0c\0]\0\n\0", 8),
       Kind::kUtf16, 0, ""},
      {"a Windows path with \\t", "[client]\nssl-ca=C:\\tmp\\certs\\ca.pem\n",
       Kind::kEscapedControlCharacter, 2, "ssl-ca=C:\\tmp\\certs\\ca.pem"},
      {"\\n in a quoted socket path", "[client]\nsocket = \"C:\\new\\s\"\n",
       Kind::kEscapedControlCharacter, 2, "socket=\"C:\\new\\s\""},
      {"\\b after loose-", "[zelkor-generator]\nloose-ssl-key=D:\\b.key\n",
       Kind::kEscapedControlCharacter, 2, "loose-ssl-key=D:\\b.key"},
      {"connection bare", "[client]\nconnection", Kind::kConnectionUnsafe, 2,
       "connection"},
      {"connection naming disable_local_infile",
       "[client]\nconnection=host=db;disable_local_infile\n",
       Kind::kConnectionUnsafe, 2, "connection"},
      {"connection naming init-command",
       "[client]\nconnection=user=x;init-command={}\n", Kind::kConnectionUnsafe,
       2, "connection"},
  };
  for (const auto& c : kCases) {
    ScopedTempDir dir;
    const std::string file = dir.write("my.cnf", c.text);
    const ClientOptionSettings read = readClientOptionSettings({file});
    ASSERT_TRUE(read.fault) << c.name;
    EXPECT_EQ(c.kind, read.fault->kind) << c.name;
    EXPECT_EQ(file, read.fault->where.file) << c.name;
    EXPECT_EQ(c.line, read.fault->where.line) << c.name;
    EXPECT_EQ(c.detail, read.fault->detail) << c.name;
  }
}

// Well-formed files as users and Debian write them are not refused.
TEST(OptionFilesTest, WellFormedFilesAreRead) {
  const char* const kFiles[] = {
      "",
      "# comment\n; comment\n\n",
      "[client-server]\nsocket = /run/mysqld/mysqld.sock\n"
      "!includedir /nonexistent/conf.d/\n",
      "[client]\r\nssl\r\nssl-ca=/etc/ca.pem\r\n",
      "[client]\nssl",  // no line end at the end
      "[client] # the client's\nloose_ssl_ca = '/etc/ca.pem'\n",
      "[mysqld]\ndatadir=/var/lib/mysql\n[client]\npassword=\"a=b\"\n",
      "[client]\n# " ,
      // As the library reads them, these do not crash it.
      "[client]\nlocal-infile=0\ninit-command=SET NAMES utf8mb4\n",
      "[client]\ninit-command=' '\nloose-disable-local-infile\n",
      "[client]\nDisable-Local-Infile=1\nconnection=host=db;port=3307\n",
      "[mysql]\ndisable-local-infile\ninit-command=\nconnection\n",
      // Windows paths that no escape changes, or with the backslashes
      // doubled; and an escape in a setting that names no path.
      "[client]\nssl-ca=C:\\certs\\ca.pem\nssl-key=C:/tmp/client.key\n",
      "[client]\nssl-ca=C:\\\\tmp\\\\certs\\\\ca.pem\n",
      "[mysql]\nssl-ca=C:\\tmp\\ca.pem\n[client]\npassword=a\\tb\n",
  };
  for (const char* text : kFiles) {
    ScopedTempDir dir;
    const ClientOptionSettings read =
        readClientOptionSettings({dir.write("my.cnf", text)});
    EXPECT_FALSE(read.fault) << text;
  }
  ScopedTempDir dir;
  const std::string longest =
      dir.write("my.cnf", "[client]\n#" + std::string(4093, 'x') + "\n");
  EXPECT_FALSE(readClientOptionSettings({longest}).fault);
}

// Includes that loop, nest too deep, fan out or name a pipe or device would
// keep the library reading without end.
TEST(OptionFilesTest, IncludesThatNeverEndAreRefused) {
  using Kind = OptionFileFault::Kind;
  ScopedTempDir dir;
  const std::string self =
      dir.write("self.cnf", "[client]\n!include " + dir.file("self.cnf") + "\n");
  dir.write("a.cnf", "!include " + dir.file("b.cnf") + "\n");
  dir.write("b.cnf", "# b\n!include " + dir.file("a.cnf") + "\n");
  // Ten files, each including the next.
  for (int i = 0; i < 10; ++i) {
    dir.write("deep" + std::to_string(i) + ".cnf",
              "!include " + dir.file("deep" + std::to_string(i + 1) + ".cnf") +
                  "\n");
  }
  // Each level includes the next one twice: 127 files, the 65th at the
  // second include of the first.
  for (int i = 0; i < 7; ++i) {
    const std::string next = dir.file("fan" + std::to_string(i + 1) + ".cnf");
    dir.write("fan" + std::to_string(i) + ".cnf",
              "!include " + next + "\n!include " + next + "\n");
  }
  const std::string device = dir.write("device.cnf", "!include /dev/zero\n");
  std::string huge = "[client]\n";
  while (huge.size() <= (1 << 20)) huge += "# " + std::string(100, 'x') + "\n";
  dir.write("huge.cnf", huge);
  const std::string urlInclude = dir.write(
      "url.cnf", "[client]\n!include https://example.org/my.cnf\n");
  ASSERT_EQ(0, mkdir(dir.file("x:").c_str(), 0700));
  const std::string urlFolder =
      dir.write("urldir.cnf", "!includedir " + dir.file("x://") + "\n");
  dir.write("x:/my.cnf", "[client]\nssl\n");
  const std::string includesHuge =
      dir.write("big.cnf", "[client]\nssl\n!include " + dir.file("huge.cnf") + "\n");
  ASSERT_EQ(0, mkfifo(dir.file("fifo.cnf").c_str(), 0600));
  const struct {
    const char* name;
    std::string file;
    Kind kind;
    std::string where;
    int line;
  } kCases[] = {
      {"itself", self, Kind::kIncludeLoop, self, 2},
      {"each other", dir.file("a.cnf"), Kind::kIncludeLoop, dir.file("b.cnf"),
       2},
      {"too deep", dir.file("deep0.cnf"), Kind::kIncludesTooDeep,
       dir.file("deep8.cnf"), 1},
      {"fanning out", dir.file("fan0.cnf"), Kind::kTooManyFiles,
       dir.file("fan0.cnf"), 2},
      {"a device", device, Kind::kNotAFile, device, 1},
      {"a pipe", dir.file("fifo.cnf"), Kind::kNotAFile, dir.file("fifo.cnf"),
       0},
      {"a folder", dir.path(), Kind::kNotAFile, dir.path(), 0},
      {"larger than 1 MiB", includesHuge, Kind::kTooLarge, includesHuge, 3},
      // The client library crashes on it (and would fetch it with its
      // remote-file plugin installed).
      {"an address", urlInclude, Kind::kUrlPath, urlInclude, 2},
      {"a folder of an address", urlFolder, Kind::kUrlPath, urlFolder, 1},
      {"a file of the library's with an address", dir.file("x://y.cnf"),
       Kind::kUrlPath, dir.file("x://y.cnf"), 0},
  };
  for (const auto& c : kCases) {
    const ClientOptionSettings read = readClientOptionSettings({c.file});
    ASSERT_TRUE(read.fault) << c.name;
    EXPECT_EQ(c.kind, read.fault->kind) << c.name;
    EXPECT_EQ(c.where, read.fault->where.file) << c.name;
    EXPECT_EQ(c.line, read.fault->where.line) << c.name;
  }
}

// Where the settings that explain a failed connect were set: the last
// value read wins, and an empty one unsets it.
TEST(OptionFilesTest, KeepsWhereEachAddressAndTlsSettingStands) {
  ScopedTempDir dir;
  const std::string system =
      dir.write("system.cnf", "[client]\nport=3307\nssl-ca=/etc/ca.pem\n");
  const std::string user = dir.write(
      "user.cnf",
      "[mysql]\nport=1\n[client]\n\nport = 34999\nssl-ca=\n"
      "[zelkor-generator]\nsocket='/tmp/my sock'\n");
  const ClientOptionSettings read = readClientOptionSettings({system, user});
  ASSERT_NE(nullptr, read.value("port"));
  EXPECT_EQ("34999", read.value("port")->value);
  EXPECT_EQ(user, read.value("port")->source.file);
  EXPECT_EQ(5, read.value("port")->source.line);
  EXPECT_EQ(nullptr, read.value("ssl-ca"));
  ASSERT_NE(nullptr, read.value("socket"));
  EXPECT_EQ("/tmp/my sock", read.value("socket")->value);
  EXPECT_EQ(8, read.value("socket")->source.line);
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
