// Arbitrary bytes as config.txt: reading must never crash, and a file that
// reads must give five words, none holding whitespace, the password the
// only one that may be empty.
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "config/configuration.h"

namespace {

bool isWord(const std::string& word) {
  if (word.empty()) return false;
  for (char c : word) {
    if (c == ' ' || (c >= '\t' && c <= '\r')) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  const ConfigurationOutcome read = readConfigurationWords(in);
  if (!read.ok()) return 0;
  const ToolConfiguration& config = read.value();
  if (!isWord(config.gameDatabasePath) || !isWord(config.mysqlHost) ||
      !isWord(config.mysqlUser) || !isWord(config.webmapDatabaseName) ||
      (!config.mysqlPassword.empty() && !isWord(config.mysqlPassword)) ||
      config.mysqlPassword == "&") {
    std::abort();
  }
  return 0;
}
