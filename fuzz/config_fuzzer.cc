// Arbitrary bytes as config.txt: reading must never crash, and a file that
// reads must give five words, none holding whitespace, the password the
// only one that may be empty.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

#include "driver/configuration.h"

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
  static const std::string path =
      "/tmp/zelkor-config-fuzz-" + std::to_string(getpid()) + ".txt";
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) std::abort();
  if (size > 0) std::fwrite(data, 1, size, file);
  std::fclose(file);

  std::ostringstream out;
  ToolConfiguration config;
  if (readConfiguration(out, config, path) != ConfigurationStatus::kRead) {
    return 0;
  }
  if (!isWord(config.gameDatabasePath) || !isWord(config.mysqlHost) ||
      !isWord(config.mysqlUser) || !isWord(config.webmapDatabaseName) ||
      (!config.mysqlPassword.empty() && !isWord(config.mysqlPassword)) ||
      config.mysqlPassword == "&") {
    std::abort();
  }
  return 0;
}
