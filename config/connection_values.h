// How both programs reach the webmap: the connection values from
// config.txt.
#ifndef ZELKOR_CONFIG_CONNECTION_VALUES_H_
#define ZELKOR_CONFIG_CONNECTION_VALUES_H_

#include <string>

#include "config/configuration.h"

struct WebmapConnectionValues {
  std::string host;
  std::string user;
  std::string password;  // empty: no password
  std::string databaseName;
};

// The connection values of a configuration.
WebmapConnectionValues connectionValues(const ToolConfiguration& config);

#endif  // ZELKOR_CONFIG_CONNECTION_VALUES_H_
