// zelkor-map-page: reads the webmap named in config.txt back from the server
// and writes it as a self-contained HTML hex map, webmap.html in the working
// directory unless --output says otherwise. One line of output names the
// file and the number of hexes drawn.
#include <cstring>
#include <iostream>
#include <string>

#include "config/configuration.h"
#include "config/connection_values.h"
#include "config/exit_status.h"
#include "config/run_lock.h"
#include "stops/stop.h"
#include "mappage/map_page.h"
#include "platform/file_replacement.h"
#include "platform/process.h"
#include "webmap/webmap_reader.h"

namespace {

constexpr int kPageWritten = kExitCompleted;

constexpr char kVersion[] = "zelkor-map-page " ZELKOR_VERSION;

std::string helpText() {
  std::string text =
      "Usage: zelkor-map-page [--output FILE]\n"
      "Reads the webmap named in config.txt (in the working directory) from "
      "the\n"
      "MySQL server and writes it as a self-contained HTML hex map to FILE\n"
      "(default: webmap.html in the working directory).\n"
      "\n"
      "  --output FILE  write the page to FILE\n"
      "  --help         show this text\n"
      "  --version      show the version\n"
      "\n"
      "Exit statuses:";
  // The map page's statuses from the one table, each as what a shell sees
  // (then the status itself when that differs) and its meaning, a line
  // ending before an entry that would pass 80 columns.
  size_t column = text.size() - text.rfind('\n') - 1;
  for (const ExitStatusEntry& entry : kExitStatuses) {
    if ((entry.users & kByMapPage) == 0) continue;
    const int seen = entry.status & 0xFF;
    std::string item = std::to_string(seen);
    if (seen != entry.status) item += " (" + std::to_string(entry.status) + ")";
    item += std::string(" ") + entry.mapPageMeaning + ";";
    if (column + 1 + item.size() > 80) {
      text += "\n";
      column = 0;
    } else {
      text += " ";
      ++column;
    }
    text += item;
    column += item.size();
  }
  text.back() = '.';
  text += "\n";
  return text;
}

// The page never waits for a key: a stop is its text and its status.
int endWithStop(const Stop& stop) {
  std::cout << stop.text;
  return stop.status;
}

}  // namespace

int main(int argc, char** argv) {
  sendStandardOutputLineByLine();
  std::string output = "webmap.html";
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help") {
      std::cout << helpText();
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
      std::cerr << "zelkor-map-page: unknown option '" << arg << "'\n"
                << helpText();
      return kExitUsage;
    }
  }
  if (output.empty()) {
    std::cerr << "zelkor-map-page: --output needs a file name\n";
    return kExitUsage;
  }

  // A generator run in this folder writes the webmap first.
  lockForRun(kConfigurationFileName, RunLock::kShared, std::cout);
  const ConfigurationOutcome config = readConfiguration();
  if (!config.ok()) return endWithStop(configurationStop(config.failure()));

  const Outcome<WebmapContent, StatementResult> read =
      readWebmap(connectionValues(config.value()));
  if (!read.ok()) {
    const StatementResult& failed = read.failure();
    if (failed.outcome == StatementOutcome::kServerUnreachable) {
      return endWithStop(serverUnreachableStop(failed.problem));
    }
    return endWithStop(noWebmapStop(config.value().webmapDatabaseName,
                                    failed.error, output));
  }
  const WebmapContent& webmap = read.value();

  const MapPage page = renderMapPage(webmap);
  const Outcome<Done, FileReplaceFailure> replaced =
      replaceFile(output, page.html);
  if (!replaced.ok()) return endWithStop(pageNotWrittenStop(replaced.failure()));
  std::cout << "Info:   Wrote " << output << ": " << page.hexesDrawn
            << " hexes drawn"
            << (page.warnings.empty() ? "" : " (the webmap is not complete)")
            << ".\n";
  return kPageWritten;
}
