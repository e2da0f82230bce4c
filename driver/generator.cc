#include "driver/generator.h"

#include <unistd.h>

#include "driver/banner.h"
#include "driver/configuration.h"
#include "driver/exit_status.h"
#include "driver/fatal_stop.h"
#include "driver/game_database.h"
#include "driver/map_decoding.h"
#include "driver/progress_line.h"
#include "driver/run_lock.h"
#include "driver/server_unreachable_text.h"
#include "webmap/hex_upload.h"
#include "webmap/map_description.h"
#include "webmap/webmap_run.h"
#include "webmap/webmap_schema.h"

namespace {

// At most this many of the objects that stopped a drop are named.
constexpr size_t kOthersNamed = 5;

std::string notAWebmapText(const NotAWebmapDatabase& e) {
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
  return text +
         "        Nothing was dropped or written. Name a database of the "
         "webmap's own in\n"
         "        config.txt, or move everything else out of " +
         name + ".\n" + kPressAnyKey;
}

}  // namespace

int runGenerator(std::ostream& out, std::ostream& warnings) {
  out << bannerText();
  lockForRun(kConfigurationFileName, RunLock::kExclusive, out);

  ToolConfiguration config;
  switch (readConfiguration(out, config)) {
    case ConfigurationStatus::kNotFound:
      return fatalStop(
          out,
          std::string("Fatal:  Configuration file not found!\n") + kPressAnyKey,
          kExitConfigurationNotFound);
    case ConfigurationStatus::kInvalid:
      return fatalStop(out,
                       std::string("Fatal:  Configuration file is invalid!\n") +
                           kPressAnyKey,
                       kExitConfigurationInvalid);
    case ConfigurationStatus::kRead:
      break;
  }
  if (!config.mysqlPassword.empty() &&
      readableByOthers(kConfigurationFileName)) {
    warnings << "Warning: " << kConfigurationFileName
             << " holds the MySQL password and other users may read it. "
                "Make it private with: chmod 600 "
             << kConfigurationFileName << "\n";
  }

  GameDatabaseBuffer buffer;
  if (!loadGameDatabase(out, config.gameDatabasePath, buffer)) {
    return fatalStop(out, unreadableGameDatabaseText(config.gameDatabasePath),
                     kExitGameDatabaseUnreadable);
  }

  DecodedMap map;
  std::string damaged;
  if (!decodeMap(out, config.gameDatabasePath, buffer, map, damaged)) {
    return fatalStop(out, damaged, kExitGameDatabaseDamaged);
  }

  out << "Info:   Updating the MySQL database...\n"
      << "        This could take a long time if the MySQL server\n"
      << "        isn't localhost...\n";
  WebmapRun webmap({config.mysqlHost, config.mysqlUser, config.mysqlPassword,
                    config.webmapDatabaseName},
                   out);
  try {
    const bool databaseCreated = prepareWebmapDatabase(webmap, map.hexCount);
    translateHexTable(map.hexes);
    ProgressLine progress(stderr);
    uploadHexRows(webmap, map.hexes, databaseCreated,
                  isatty(STDERR_FILENO) ? &progress : nullptr);
    writeMapDescription(webmap, map.rows, map.columns, databaseCreated);
    if (webmap.failedStatements() > 0) markWebmapForRebuild(webmap);
  } catch (const ServerUnreachable& e) {
    return fatalStop(
        out,
        serverUnreachableText(e.host(), e.error(), e.failure(), map.hexCount) +
            kPressAnyKey,
        kExitServerUnreachable);
  } catch (const NotAWebmapDatabase& e) {
    return fatalStop(out, notAWebmapText(e), kExitStatementsFailed);
  }

  out << "Info:   Webmap database generation complete.  Exiting.\n";
  if (webmap.failedStatements() > 0) {
    out << "Fatal:  " << webmap.failedStatements()
        << (webmap.failedStatements() == 1 ? " statement" : " statements")
        << " failed on the MySQL server; the webmap is incomplete. First "
           "failure: "
        << webmap.firstFailure() << "\n";
    return kExitStatementsFailed;
  }
  return kExitCompleted;
}
