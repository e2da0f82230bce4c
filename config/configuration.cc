#include "config/configuration.h"

#include <cstring>
#include <fstream>
#include <locale>

#include "config/connection_values.h"

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

}  // namespace

ConfigurationOutcome readConfiguration(const std::string& path) {
  std::ifstream in(path);
  if (!in.is_open()) {
    return ConfigurationOutcome::failed(ConfigurationFault::kNotFound);
  }
  return readConfigurationWords(in);
}

ConfigurationOutcome readConfigurationWords(std::istream& in) {
  const auto invalid = [] {
    return ConfigurationOutcome::failed(ConfigurationFault::kInvalid);
  };
  // Words are split on the classic "C" whitespace, whatever the user's locale.
  in.imbue(std::locale::classic());
  skipByteOrderMark(in);

  ToolConfiguration read;
  std::string* const words[] = {&read.gameDatabasePath, &read.mysqlHost,
                                &read.mysqlUser, &read.mysqlPassword,
                                &read.webmapDatabaseName};
  for (std::string* word : words) {
    if (in.eof()) return invalid();
    in >> *word;
    if (word == &read.mysqlPassword && *word == "&") word->clear();
  }
  // The fifth word must be followed by at least one character. Whatever
  // follows it (a number, by tradition) is not read.
  if (in.eof()) return invalid();
  // The system's interfaces end a text at a NUL byte: such a word would open
  // another file, or reach another server or database, than the one named.
  for (const std::string* word : words) {
    if (word->find('\0') != std::string::npos) return invalid();
  }
  return read;
}

WebmapConnectionValues connectionValues(const ToolConfiguration& config) {
  return {config.mysqlHost, config.mysqlUser, config.mysqlPassword,
          config.webmapDatabaseName};
}
