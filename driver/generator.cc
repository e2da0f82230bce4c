#include "driver/generator.h"

#include <utility>

#include "config/configuration.h"
#include "config/connection_values.h"
#include "config/exit_status.h"
#include "config/run_lock.h"
#include "driver/banner.h"
#include "driver/fatal_stop.h"
#include "driver/generator_stops.h"
#include "driver/progress_line.h"
#include "gamedb/game_database.h"
#include "gamedb/map_decoding.h"
#include "platform/process.h"
#include "platform/file_facts.h"
#include "stops/stop.h"
#include "translate/hex_table_translation.h"
#include "webmap/hex_upload.h"
#include "webmap/map_description.h"
#include "webmap/webmap_preparation.h"
#include "webmap/webmap_run.h"

namespace {

// The phases of a run. Each gives back what the next needs, or the stop that
// ends the run.
template <typename Value>
using Phase = Outcome<Value, Stop>;

Phase<ToolConfiguration> readConfigurationPhase(std::ostream& out,
                                                std::ostream& warnings) {
  out << "Info:   Checking configuration file...\n\n";
  ConfigurationOutcome read = readConfiguration();
  if (!read.ok()) {
    return Phase<ToolConfiguration>::failed(configurationStop(read.failure()));
  }
  const ToolConfiguration& config = read.value();
  if (!config.mysqlPassword.empty() &&
      readableByOthers(kConfigurationFileName)) {
    warnings << "Warning: " << kConfigurationFileName
             << " holds the MySQL password and other users may read it. "
                "Make it private with: chmod 600 "
             << kConfigurationFileName << "\n";
  }
  return std::move(read.value());
}

Phase<GameDatabaseBuffer> loadPhase(std::ostream& out,
                                    const std::string& path) {
  auto loaded = loadGameDatabase(out, path);
  if (!loaded.ok()) {
    return Phase<GameDatabaseBuffer>::failed(
        unreadableGameDatabaseStop(loaded.failure(),
                                   absolutePath(kConfigurationFileName)));
  }
  return std::move(loaded.value());
}

Phase<DecodedMap> decodePhase(std::ostream& out, const std::string& path,
                              const GameDatabaseBuffer& buffer) {
  auto located = locateMapHexes(out, buffer);
  if (!located.ok()) {
    return Phase<DecodedMap>::failed(
        damagedGameDatabaseStop(path, located.failure()));
  }
  DecodedMap& map = located.value();
  if (map.surplusHexObjects > 0) out << surplusHexObjectsLine(map);
  extractHexFields(out, buffer, map);
  return std::move(map);
}

// Preparation, translation, upload and the map description row. Statements
// that fail are tallied in webmap and the run goes on; a run with failures
// deletes the map description row, so that the next run rebuilds.
Phase<Done> webmapPhase(WebmapRun& webmap, DecodedMap& map) {
  const auto stopped = [&](const WebmapStop& stop) {
    return Phase<Done>::failed(webmapStop(stop, map.hexCount,
                                         webmap.hexesWritten(),
                                         webmap.singleConnection()));
  };
  const WebmapOutcome<bool> prepared =
      prepareWebmapDatabase(webmap, map.hexCount);
  if (!prepared.ok()) return stopped(prepared.failure());
  const bool databaseCreated = prepared.value();
  translateHexTable(map.hexes);
  // With single-connection the rows and the map description row go in one
  // transaction, so that web pages never see two turns mixed.
  const WebmapOutcome<Done> begun = webmap.beginTransaction();
  if (!begun.ok()) return stopped(begun.failure());
  ProgressLine progress(stderr);
  const WebmapOutcome<Done> uploaded =
      uploadHexRows(webmap, map.hexes, databaseCreated,
                    standardErrorIsConsole() ? &progress : nullptr);
  if (!uploaded.ok()) return stopped(uploaded.failure());
  const WebmapOutcome<Done> described =
      writeMapDescription(webmap, map.rows, map.columns, databaseCreated);
  if (!described.ok()) return stopped(described.failure());
  if (webmap.failedStatements() > 0) {
    const WebmapOutcome<Done> marked = markWebmapForRebuild(webmap);
    if (!marked.ok()) return stopped(marked.failure());
  }
  const WebmapOutcome<Done> committed = webmap.commitTransaction();
  if (!committed.ok()) return stopped(committed.failure());
  return Done{};
}

}  // namespace

std::string ignoredArgumentsLine(int count, const char* const* words) {
  std::string given;
  for (int i = 0; i < count; ++i) {
    given += std::string(i == 0 ? "" : " ") + words[i];
  }
  return "zelkor-generator takes no arguments and ignored '" + given +
         "': this is a normal run, with " + kConfigurationFileName +
         " from the folder it was started in. Help: zelkor-map-page --help, "
         "man zelkor-generator, or README.txt beside zelkor-generator.exe.\n";
}

int runGenerator(std::ostream& out, std::ostream& warnings) {
  out << bannerText();
  lockForRun(kConfigurationFileName, RunLock::kExclusive, out);

  const Phase<ToolConfiguration> config =
      readConfigurationPhase(out, warnings);
  if (!config.ok()) return endWithStop(out, config.failure());
  const std::string& path = config.value().gameDatabasePath;
  const Phase<GameDatabaseBuffer> buffer = loadPhase(out, path);
  if (!buffer.ok()) return endWithStop(out, buffer.failure());
  Phase<DecodedMap> map = decodePhase(out, path, buffer.value());
  if (!map.ok()) return endWithStop(out, map.failure());

  out << "Info:   Updating the MySQL database...\n"
      << "        This could take a long time if the MySQL server\n"
      << "        isn't localhost...\n";
  WebmapRun webmap(connectionValues(config.value()), out);
  const Phase<Done> written = webmapPhase(webmap, map.value());
  if (!written.ok()) return endWithStop(out, written.failure());

  out << "Info:   Webmap database generation complete.  Exiting.\n";
  if (webmap.failedStatements() > 0) {
    return endWithStop(out, statementsFailedStop(webmap));
  }
  return kExitCompleted;
}
