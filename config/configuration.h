// The tool's settings, read from config.txt in the working directory: five
// whitespace-separated words (game database path, MySQL host, user, password,
// webmap database name) and an optional number that is ignored.
#ifndef ZELKOR_CONFIG_CONFIGURATION_H_
#define ZELKOR_CONFIG_CONFIGURATION_H_

#include <istream>
#include <string>

#include "base/outcome.h"

struct ToolConfiguration {
  std::string gameDatabasePath;
  std::string mysqlHost;
  std::string mysqlUser;
  std::string mysqlPassword;  // empty when the file holds "&" here
  std::string webmapDatabaseName;
};

// Why config.txt gave no configuration, with what a person needs to mend it.
struct ConfigurationFault {
  enum class Kind {
    kNotFound,  // the file cannot be opened
    kInvalid,   // it holds no five words the tool can use
  } kind = Kind::kInvalid;
  enum class Why {
    kMissing,               // kNotFound: nothing of that name
    kNotReadable,           // kNotFound: a file this run may not read
    kNotAFile,              // kNotFound: a folder or a device
    kTooFewWords,           // kInvalid: fewer than five words
    kNothingAfterFifthWord, // kInvalid: five words, no line end after them
    kUtf16,                 // kInvalid: saved as UTF-16
    kNulByte,               // kInvalid: a NUL byte in one of the words
  } why = Why::kTooFewWords;
  int words = 0;  // kTooFewWords: how many the file holds
  // kNotFound: the folder the file was looked for in, whole, and whether a
  // file named as it is with ".txt" once more lies there (Windows hides
  // the known ending, so a typed ".txt" makes it twice).
  std::string folder;
  bool nameDoubled = false;
};

using ConfigurationOutcome = Outcome<ToolConfiguration, ConfigurationFault>;

constexpr char kConfigurationFileName[] = "config.txt";

// Reads the file. kNotFound: the file cannot be opened. kInvalid: the file
// ends before one of the five words, or right after the fifth (a line break
// must follow it), or one of the five words holds a NUL byte (as every word
// of a file saved as UTF-16 does).
ConfigurationOutcome readConfiguration(
    const std::string& path = kConfigurationFileName);

// The same rules for the content of an opened file (read or kInvalid).
ConfigurationOutcome readConfigurationWords(std::istream& in);

#endif  // ZELKOR_CONFIG_CONFIGURATION_H_
