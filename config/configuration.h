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

// Why config.txt gave no configuration.
enum class ConfigurationFault { kNotFound, kInvalid };

using ConfigurationOutcome = Outcome<ToolConfiguration, ConfigurationFault>;

constexpr char kConfigurationFileName[] = "config.txt";

// Reads the file. kNotFound: the file cannot be opened. kInvalid: the file
// ends before one of the five words, or right after the fifth (a line break
// must follow it), or one of the five words holds a NUL byte.
ConfigurationOutcome readConfiguration(
    const std::string& path = kConfigurationFileName);

// The same rules for the content of an opened file (read or kInvalid).
ConfigurationOutcome readConfigurationWords(std::istream& in);

#endif  // ZELKOR_CONFIG_CONFIGURATION_H_
