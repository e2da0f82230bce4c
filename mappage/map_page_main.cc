// zelkor-map-page: reads the webmap named in config.txt back from the server
// and writes it as a self-contained HTML hex map, webmap.html in the working
// directory unless --output says otherwise. One line of output names the
// file and the number of hexes drawn.
#include <cstdio>
#include <cstring>
#include <iostream>
#include <sstream>
#include <string>

#include "driver/configuration.h"
#include "driver/exit_status.h"
#include "driver/run_lock.h"
#include "driver/server_unreachable_text.h"
#include "mappage/map_page.h"
#include "mappage/page_file.h"
#include "webmap/webmap_reader.h"

namespace {

// Exit statuses of the page's own; the configuration's and an unreachable
// server's are the generator's.
constexpr int kPageWritten = 0;
constexpr int kUsage = 2;
constexpr int kNoWebmap = -5;
constexpr int kPageNotWritten = -6;

constexpr char kVersion[] = "zelkor-map-page " ZELKOR_VERSION;
constexpr char kHelp[] =
    "Usage: zelkor-map-page [--output FILE]\n"
    "Reads the webmap named in config.txt (in the working directory) from the\n"
    "MySQL server and writes it as a self-contained HTML hex map to FILE\n"
    "(default: webmap.html in the working directory).\n"
    "\n"
    "  --output FILE  write the page to FILE\n"
    "  --help         show this text\n"
    "  --version      show the version\n"
    "\n"
    "Exit statuses: 0 written; 2 wrong options; 254 (-2) server unreachable;\n"
    "251 (-5) no webmap to read; 250 (-6) page not written;\n"
    "98 (-99998) config.txt invalid; 97 (-99999) config.txt not found.\n";

}  // namespace

int main(int argc, char** argv) {
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  std::string output = "webmap.html";
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help") {
      std::cout << kHelp;
      return kPageWritten;
    }
    if (arg == "--version") {
      std::cout << kVersion << "\n";
      return kPageWritten;
    }
    if (arg == "--output") {
      output = i + 1 < argc ? argv[++i] : "";
    } else if (arg.rfind("--output=", 0) == 0) {
      output = arg.substr(std::strlen("--output="));
    } else {
      std::cerr << "zelkor-map-page: unknown option '" << arg << "'\n" << kHelp;
      return kUsage;
    }
  }
  if (output.empty()) {
    std::cerr << "zelkor-map-page: --output needs a file name\n";
    return kUsage;
  }

  // A generator run in this folder writes the webmap first.
  lockForRun(kConfigurationFileName, RunLock::kShared, std::cout);
  std::ostringstream checking;  // the generator's progress line, not shown
  ToolConfiguration config;
  switch (readConfiguration(checking, config)) {
    case ConfigurationStatus::kNotFound:
      std::cout << "Fatal:  Configuration file not found!\n";
      return kExitConfigurationNotFound;
    case ConfigurationStatus::kInvalid:
      std::cout << "Fatal:  Configuration file is invalid!\n";
      return kExitConfigurationInvalid;
    case ConfigurationStatus::kRead:
      break;
  }

  WebmapContent webmap;
  const StatementResult read =
      readWebmap({config.mysqlHost, config.mysqlUser, config.mysqlPassword,
                  config.webmapDatabaseName},
                 webmap);
  if (read.outcome == StatementOutcome::kServerUnreachable) {
    std::cout << serverUnreachableText(config.mysqlHost, read.error,
                                       read.connectFailure, -1);
    return kExitServerUnreachable;
  }
  if (!read.succeeded()) {
    std::cout << "Fatal:  No webmap to draw in the database '"
              << config.webmapDatabaseName << "': " << read.error << "\n"
              << "        Run zelkor-generator first, or check the database "
                 "name in config.txt.\n"
              << "        " << output << " was not written.\n";
    return kNoWebmap;
  }

  const MapPage page = renderMapPage(webmap);
  std::string error;
  if (!replaceFile(output, page.html, error)) {
    std::cout << "Fatal:  The map page was not written: " << error << "\n";
    return kPageNotWritten;
  }
  std::cout << "Info:   Wrote " << output << ": " << page.hexesDrawn
            << " hexes drawn"
            << (page.warnings.empty() ? "" : " (the webmap is not complete)")
            << ".\n";
  return kPageWritten;
}
