// The tool's settings, read from config.txt in the working directory: five
// whitespace-separated words (game database path, MySQL host, user, password,
// webmap database name) and an optional number that is ignored.
#ifndef ZELKOR_CONFIG_CONFIGURATION_H_
#define ZELKOR_CONFIG_CONFIGURATION_H_

#include <istream>
#include <string>

struct ToolConfiguration {
  std::string gameDatabasePath;
  std::string mysqlHost;
  std::string mysqlUser;
  std::string mysqlPassword;  // empty when the file holds "&" here
  std::string webmapDatabaseName;
};

enum class ConfigurationStatus { kRead, kNotFound, kInvalid };

constexpr char kConfigurationFileName[] = "config.txt";

// Reads the file. kNotFound: the file cannot be opened. kInvalid: the file ends
// before one of the five words, or right after the fifth (a line break must
// follow it), or one of the five words holds a NUL byte. config is filled only
// on kRead.
ConfigurationStatus readConfiguration(
    ToolConfiguration& config,
    const std::string& path = kConfigurationFileName);

// The same rules for the content of an opened file (kRead or kInvalid).
ConfigurationStatus readConfigurationWords(std::istream& in,
                                           ToolConfiguration& config);

// Whether the file at path may be read by its group or by others.
bool readableByOthers(const std::string& path);

#endif  // ZELKOR_CONFIG_CONFIGURATION_H_
