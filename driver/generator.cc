#include "driver/generator.h"

#include <unistd.h>

#include <optional>

#include "config/configuration.h"
#include "config/connection_values.h"
#include "config/exit_status.h"
#include "config/run_lock.h"
#include "config/stop.h"
#include "driver/banner.h"
#include "driver/fatal_stop.h"
#include "driver/progress_line.h"
#include "gamedb/game_database.h"
#include "gamedb/map_decoding.h"
#include "translate/hex_table_translation.h"
#include "webmap/drop_guard.h"
#include "webmap/hex_upload.h"
#include "webmap/map_description.h"
#include "webmap/webmap_preparation.h"
#include "webmap/webmap_run.h"

namespace {

// At most this many of the objects that stopped a drop are named.
constexpr size_t kOthersNamed = 5;

Stop notAWebmapStop(const NotAWebmapDatabase& e) {
  const std::string name = "'" + e.database() + "'";
  std::string text;
  if (e.lookupError().empty()) {
    text = "Fatal:  The database " + name + " holds more than the webmap: ";
    for (size_t i = 0; i < e.others().size() && i < kOthersNamed; ++i) {
      text += (i > 0 ? ", " : "") + e.others()[i];
    }
    if (e.others().size() > kOthersNamed) {
      text +=
          " and " + std::to_string(e.others().size() - kOthersNamed) + " more";
    }
    text += ".\n";
  } else {
    text = "Fatal:  Could not look up what the database " + name +
           " holds: " + e.lookupError() + "\n";
  }
  return {kExitStatementsFailed,
          text +
              "        Nothing was dropped or written. Name a database of the "
              "webmap's own in\n"
              "        config.txt, or move everything else out of " +
              name + ".\n"};
}

// What a server lost during the upload (gone, or refusing connections)
// left in the webmap, and what to do.
std::string uploadCutShortLines(const HexesWritten& upload) {
  if (!upload.begun) return "";
  const std::string total = std::to_string(upload.total);
  const std::string again =
      " Run the tool again once it can connect: the next run writes every "
      "hex.";
  if (upload.written == upload.total) {
    return continuationLines("This run had written all " + total +
                             " hexes, but not the map description row, when "
                             "it could no longer connect." +
                             again);
  }
  const std::string written =
      "This run had written " + std::to_string(upload.written) + " of " +
      total + " hexes when it could no longer connect: ";
  if (upload.inserting) {
    return continuationLines(written +
                             "the webmap, made anew in this run, holds only "
                             "those, and web pages show an incomplete map." +
                             again);
  }
  return continuationLines(written +
                           "the webmap now mixes this turn and the last, and "
                           "web pages show it so." +
                           again);
}

// The phases of a run. Each gives back the stop that ends the run, or
// nothing when the run goes on.

std::optional<Stop> readConfigurationPhase(std::ostream& out,
                                           std::ostream& warnings,
                                           ToolConfiguration& config) {
  out << "Info:   Checking configuration file...\n\n";
  const ConfigurationStatus status = readConfiguration(config);
  if (status != ConfigurationStatus::kRead) return configurationStop(status);
  if (!config.mysqlPassword.empty() &&
      readableByOthers(kConfigurationFileName)) {
    warnings << "Warning: " << kConfigurationFileName
             << " holds the MySQL password and other users may read it. "
                "Make it private with: chmod 600 "
             << kConfigurationFileName << "\n";
  }
  return std::nullopt;
}

std::optional<Stop> loadPhase(std::ostream& out, const std::string& path,
                              GameDatabaseBuffer& buffer) {
  if (loadGameDatabase(out, path, buffer)) return std::nullopt;
  return Stop{kExitGameDatabaseUnreadable, unreadableGameDatabaseText(path),
              kUnreadableGameDatabasePrompt};
}

std::optional<Stop> decodePhase(std::ostream& out, const std::string& path,
                                const GameDatabaseBuffer& buffer,
                                DecodedMap& map) {
  if (std::optional<std::string> damaged = decodeMap(out, path, buffer, map)) {
    return Stop{kExitGameDatabaseDamaged, *damaged};
  }
  return std::nullopt;
}

// Preparation, translation, upload and the map description row. Statements
// that fail are tallied in webmap and the run goes on.
std::optional<Stop> webmapPhase(WebmapRun& webmap, DecodedMap& map) {
  try {
    const bool databaseCreated = prepareWebmapDatabase(webmap, map.hexCount);
    translateHexTable(map.hexes);
    ProgressLine progress(stderr);
    uploadHexRows(webmap, map.hexes, databaseCreated,
                  isatty(STDERR_FILENO) ? &progress : nullptr);
    writeMapDescription(webmap, map.rows, map.columns, databaseCreated);
    if (webmap.failedStatements() > 0) markWebmapForRebuild(webmap);
  } catch (const ServerUnreachable& e) {
    Stop stop = serverUnreachableStop(e.problem(),
                                      {map.hexCount, kMostCheckConnections});
    stop.text += uploadCutShortLines(webmap.hexesWritten());
    return stop;
  } catch (const NotAWebmapDatabase& e) {
    return notAWebmapStop(e);
  }
  return std::nullopt;
}

}  // namespace

int runGenerator(std::ostream& out, std::ostream& warnings) {
  out << bannerText();
  lockForRun(kConfigurationFileName, RunLock::kExclusive, out);

  ToolConfiguration config;
  if (auto stop = readConfigurationPhase(out, warnings, config)) {
    return fatalStop(out, *stop);
  }
  GameDatabaseBuffer buffer;
  if (auto stop = loadPhase(out, config.gameDatabasePath, buffer)) {
    return fatalStop(out, *stop);
  }
  DecodedMap map;
  if (auto stop = decodePhase(out, config.gameDatabasePath, buffer, map)) {
    return fatalStop(out, *stop);
  }

  out << "Info:   Updating the MySQL database...\n"
      << "        This could take a long time if the MySQL server\n"
      << "        isn't localhost...\n";
  WebmapRun webmap(connectionValues(config), out);
  if (auto stop = webmapPhase(webmap, map)) return fatalStop(out, *stop);

  out << "Info:   Webmap database generation complete.  Exiting.\n";
  if (webmap.failedStatements() > 0) {
    out << "Fatal:  " << webmap.failedStatements()
        << (webmap.failedStatements() == 1 ? " statement" : " statements")
        << " failed on the MySQL server; the webmap is incomplete. First "
           "failure: "
        << webmap.firstFailure() << "\n";
    if (webmap.webmapWentMissing()) {
      out << continuationLines(
          "Another client changed the webmap during this run: the database "
          "or a table that this run had found or made went missing. Is "
          "another run of the tool, from another folder or another machine, "
          "writing the same webmap? Let one run at a time write it (runs from "
          "one folder take turns by themselves), then run again.");
    }
    return kExitStatementsFailed;
  }
  return kExitCompleted;
}
