// Arbitrary bytes as ~/.my.cnf. The tool's reader must never crash, hang
// or read on without end, a fault it finds must name a line of the file it
// read, and a file it accepts goes on to the client library's own reader
// (through a connect to a socket where nothing listens), which must come
// back too: a file that would hang the library must be one the tool
// refuses. libFuzzer's -timeout catches a hang on either side.
#include <mysql.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

#include "config/option_files.h"

namespace {

// A folder of this process's own, made once.
const std::string& scratchFolder() {
  static const std::string folder = [] {
    char pattern[] = "/tmp/zelkor-option-fuzz-XXXXXX";
    if (mkdtemp(pattern) == nullptr) std::abort();
    return std::string(pattern);
  }();
  return folder;
}

int linesIn(const std::string& text) {
  int lines = 0;
  for (char c : text) lines += c == '\n';
  return lines + 1;
}

void throughTheLibrary(const std::string& path) {
  MYSQL* mysql = mysql_init(nullptr);
  if (mysql == nullptr) std::abort();
  mysql_optionsv(mysql, MYSQL_READ_DEFAULT_FILE, path.c_str());
  mysql_optionsv(mysql, MYSQL_READ_DEFAULT_GROUP, kOptionGroup);
  const unsigned int timeout = 1;
  mysql_optionsv(mysql, MYSQL_OPT_CONNECT_TIMEOUT, &timeout);
  // A socket and a port given here go before the file's; with either
  // transport the connect finds nobody at once.
  mysql_real_connect(mysql, "localhost", "fuzz", "fuzz", nullptr, 1,
                     "/nonexistent/zelkor-option-fuzz.sock", 0);
  mysql_close(mysql);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::string path = scratchFolder() + "/.my.cnf";
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
  }
  const ClientOptionSettings settings = readClientOptionSettings({path});
  if (settings.fault) {
    const OptionFileFault& fault = *settings.fault;
    // A fault in this file names one of its lines; one in a file it
    // includes names the include's line here or stands in that file.
    if (fault.where.file == path &&
        (fault.where.line < 0 || fault.where.line > linesIn(text))) {
      std::abort();
    }
    return 0;
  }
  for (const auto& value : settings.values) {
    if (value.second.value.empty() || value.second.source.line < 1) {
      std::abort();
    }
  }
  throughTheLibrary(path);
  return 0;
}
