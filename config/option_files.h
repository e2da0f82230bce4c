// What the MySQL client option files say that the client library itself
// does not act on, or acts on in a way the webmap must not follow, and
// whether the library may read them at all. The library reads the files
// (and applies their host, port, socket, TLS and other client settings) at
// every connect; this reads the same files, in the same order and groups,
// for what the library gets wrong or must not do here: it ignores a bare
// "ssl" and the boolean options written without a value
// ("ssl-verify-server-cert"), as users of the mariadb client write them,
// and it would select a default database named in the files. It also
// refuses what the library's own reader does not read safely (an include
// that names nothing makes it read every file again, without end; a few
// settings make it crash), so that a connect never reaches a file refused
// here.
#ifndef ZELKOR_CONFIG_OPTION_FILES_H_
#define ZELKOR_CONFIG_OPTION_FILES_H_

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/option_file_places.h"

// The tool's own group, read after [client], [client-server] and
// [client-mariadb], so that its settings go before theirs.
constexpr char kOptionGroup[] = "zelkor-generator";

// The longest line the client library reads as one: its line buffer holds
// 4094 characters and a line end.
constexpr size_t kLongestOptionLine = 4094;
// How deep includes may nest, and how many files one reading may take in:
// enough for any sensible set of files (Debian's own go two deep), and an
// end to includes that fan out.
constexpr int kDeepestInclude = 8;
constexpr int kMostOptionFiles = 64;
// Far more than any option file holds; a file that reads on (a kernel's
// own file) is refused.
constexpr size_t kLargestOptionFile = 1 << 20;

// Where a setting was read: a file and its line (from 1).
struct OptionSource {
  std::string file;
  int line = 0;
};

// The last value a setting was given in the groups read, and where.
struct OptionValue {
  std::string value;  // unquoted, as the library reads it
  OptionSource source;
};

// A file the library must not read, and why.
struct OptionFileFault {
  OptionSource where;  // line 0: the file as a whole
  enum class Kind {
    kNotAFile,          // a folder, a pipe or a device, not a file
    kTooLarge,          // more than kLargestOptionFile bytes
    kUrlPath,           // a path with "://", which the library would fetch
    kNulByte,           // a NUL byte
    kLoneCarriageReturn,  // a carriage return that does not end the line
    kLineTooLong,       // longer than kLongestOptionLine
    kIncludeNamesNothing,  // !include or !includedir without a path
    kUnknownDirective,  // a "!" line that is neither
    kIncludeLoop,       // a file that includes itself, at any depth
    kIncludesTooDeep,   // nested deeper than kDeepestInclude
    kTooManyFiles,      // more than kMostOptionFiles files in all
    kGroupNotClosed,    // "[client" without "]", or "[]"
    kOptionBeforeGroup,  // a setting before the first [group]
    kNoOptionName,      // "=value", or a name the library does not read
    kStartsWithQuote,   // a line the library skips as a quote toggle
    // Settings the library's reader crashes on, in a group it reads:
    kDisableLocalInfile,  // disable-local-infile, with or without a value
    kInitCommandEmpty,    // init-command with no statement
    kConnectionUnsafe,    // connection with no value, or naming either above
    // What the library reads as something else than a person wrote:
    kByteOrderMark,  // a UTF-8 byte order mark (Notepad's "UTF-8 with BOM")
    kUtf16,          // the file is UTF-16 (Notepad's "Unicode")
    // A path setting in which a backslash escape makes a control character
    // ("ssl-ca=C:\tmp\ca.pem" holds a tab); detail: "name=value" as written.
    kEscapedControlCharacter,
  } kind;
  std::string detail;  // the directive, the path or the name at fault
};

struct ClientOptionSettings {
  // Use TLS: "ssl" (or "ssl=1", "enable-ssl"; a later "skip-ssl" or
  // "ssl=0" undoes it), a true ssl-enforce or ssl-verify-server-cert, or
  // any of ssl-ca, ssl-capath, ssl-cert, ssl-key, ssl-cipher.
  bool tls = false;
  // ssl-verify-server-cert: check the server's certificate and name.
  bool verifyServerCert = false;
  // ssl-ca or ssl-capath: where the certificates to trust are.
  bool trustNamed = false;
  // A "database" setting, which the library would select on every
  // connection that names none.
  bool namesDatabase = false;
  // "single-connection" in the tool's own group: one connection carries the
  // run, its statements in batches, the upload in one transaction ("=0" or
  // "skip-single-connection" undoes it).
  bool singleConnection = false;
  // The names of all settings in the groups read ("ssl-ca", "socket"...),
  // written with '-' and without a "loose-" in front.
  std::set<std::string> names;
  // The settings a failed connect is explained with (port, socket, ssl-ca,
  // ssl-capath, ssl-cert, ssl-key), as the library takes them: the last
  // non-empty value read. An empty value unsets the setting.
  std::map<std::string, OptionValue> values;
  // Set when a file must not reach the library; the settings above are then
  // those read before it.
  std::optional<OptionFileFault> fault;

  // The value of a setting in values, or nullptr.
  const OptionValue* value(const std::string& name) const;
};

// The first escape in value that the client library reads as a control
// character ("\\n", "\\t", "\\r" or "\\b": a line end, a tab, a carriage
// return, a backspace), as a Windows path written with single backslashes
// has them; "" when there is none.
std::string controlCharacterEscape(const std::string& value);

// Whether the client library must read the files for a connect: not when
// every setting they hold is decided without them. The host, user,
// password and database always come from config.txt, the socket from the
// connect when it names one (tcp: none is used), the port likewise, and
// ssl, ssl-enforce and ssl-verify-server-cert from the settings above.
// Reading them costs a few file look-ups per connection.
bool libraryMustReadOptionFiles(const ClientOptionSettings& settings, bool tcp,
                                bool socketGiven, bool portGiven);

// Reads the files (missing ones, and ones this process may not read, are
// skipped, as the library skips them) with their !include and !includedir
// lines, as the library does: an included folder contributes its my.cnf.
// Stops at the first fault.
ClientOptionSettings readClientOptionSettings(
    const std::vector<std::string>& files);

// The settings of clientOptionFiles(), read once per process.
const ClientOptionSettings& clientOptionSettings();

#endif  // ZELKOR_CONFIG_OPTION_FILES_H_
