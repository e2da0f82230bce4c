#include "config/configuration.h"

#include <cstring>
#include <fstream>
#include <locale>

#include "config/connection_values.h"
#include "platform/file_facts.h"

namespace {

// Windows Notepad starts a file saved as UTF-8 with these three bytes; they
// are not part of the first word.
void skipByteOrderMark(std::istream& in) {
  constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";
  char start[3];
  in.read(start, sizeof start);
  if (in.gcount() == sizeof start &&
      std::memcmp(start, kByteOrderMark, sizeof start) == 0) {
    return;
  }
  in.clear();
  in.seekg(0);
}

// Notepad's "Unicode" and "Unicode big endian" start the file with a byte
// order mark of two bytes; without one, a UTF-16 text of ASCII letters has
// a NUL as its second byte.
bool isUtf16(std::istream& in) {
  char start[2];
  in.read(start, sizeof start);
  const bool utf16 =
      in.gcount() == sizeof start &&
      ((start[0] == '\xFF' && start[1] == '\xFE') ||
       (start[0] == '\xFE' && start[1] == '\xFF') ||
       (start[0] != '\0' && start[1] == '\0'));
  in.clear();
  in.seekg(0);
  return utf16;
}

ConfigurationFault notFound(const std::string& path) {
  using Why = ConfigurationFault::Why;
  const PathKind kind = pathKind(path);
  ConfigurationFault fault;
  fault.kind = ConfigurationFault::Kind::kNotFound;
  fault.why = kind == PathKind::kMissing ? Why::kMissing
              : kind == PathKind::kFile  ? Why::kNotReadable
                                         : Why::kNotAFile;
  const std::filesystem::path whole = systemPath(absolutePath(path));
  fault.folder = whole.parent_path().u8string();
  fault.nameDoubled = pathKind(path + ".txt") == PathKind::kFile;
  return fault;
}

ConfigurationOutcome invalid(ConfigurationFault::Why why, int words = 0) {
  ConfigurationFault fault;
  fault.why = why;
  fault.words = words;
  return ConfigurationOutcome::failed(fault);
}

}  // namespace

ConfigurationOutcome readConfiguration(const std::string& path) {
  // A folder or a pipe of that name is no file to read (a pipe would hold
  // the run).
  if (pathKind(path) != PathKind::kFile) {
    return ConfigurationOutcome::failed(notFound(path));
  }
  std::ifstream in(systemPath(path));
  if (!in.is_open()) return ConfigurationOutcome::failed(notFound(path));
  return readConfigurationWords(in);
}

ConfigurationOutcome readConfigurationWords(std::istream& in) {
  using Why = ConfigurationFault::Why;
  // Words are split on the classic "C" whitespace, whatever the user's locale.
  in.imbue(std::locale::classic());
  if (isUtf16(in)) return invalid(Why::kUtf16);
  skipByteOrderMark(in);

  ToolConfiguration read;
  std::string* const words[] = {&read.gameDatabasePath, &read.mysqlHost,
                                &read.mysqlUser, &read.mysqlPassword,
                                &read.webmapDatabaseName};
  int wordsRead = 0;
  for (std::string* word : words) {
    if (in.eof()) return invalid(Why::kTooFewWords, wordsRead);
    in >> *word;
    if (!word->empty()) ++wordsRead;
    if (word == &read.mysqlPassword && *word == "&") word->clear();
  }
  // The fifth word must be followed by at least one character. Whatever
  // follows it (a number, by tradition) is not read.
  if (in.eof()) {
    return wordsRead == 5 ? invalid(Why::kNothingAfterFifthWord)
                          : invalid(Why::kTooFewWords, wordsRead);
  }
  // The system's interfaces end a text at a NUL byte: such a word would open
  // another file, or reach another server or database, than the one named.
  for (const std::string* word : words) {
    if (word->find('\0') != std::string::npos) return invalid(Why::kNulByte);
  }
  return read;
}

WebmapConnectionValues connectionValues(const ToolConfiguration& config) {
  return {config.mysqlHost, config.mysqlUser, config.mysqlPassword,
          config.webmapDatabaseName};
}
