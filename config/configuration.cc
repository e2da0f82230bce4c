#include "config/configuration.h"

#include <fstream>
#include <locale>

#include "config/connection_values.h"
#include "config/text_start.h"
#include "platform/file_facts.h"

namespace {

// How the file starts (Notepad's encodings), its first bytes read and the
// stream left after a UTF-8 mark, which is no part of the first word, or
// else at its start.
TextStart readTextStart(std::istream& in) {
  std::string start(kUtf8MarkLength, '\0');
  in.read(&start[0], static_cast<std::streamsize>(start.size()));
  start.resize(static_cast<size_t>(in.gcount()));
  const TextStart found = textStartOf(start);
  in.clear();
  in.seekg(found == TextStart::kUtf8Mark ? kUtf8MarkLength : 0);
  return found;
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
  if (readTextStart(in) == TextStart::kUtf16) return invalid(Why::kUtf16);

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
