#include "driver/generator_stops.h"

#include "config/exit_status.h"
#include "gamedb/object_layout.h"
#include "webmap/webmap_preparation.h"

namespace {

// At most this many of the objects that stopped a drop are named.
constexpr size_t kOthersNamed = 5;

std::string mapSize(int32_t rows, int32_t columns) {
  return std::to_string(rows) + " rows x " + std::to_string(columns) +
         " columns";
}

std::string damagedText(const std::string& path,
                        const DamagedGameDatabase& d) {
  using Kind = DamagedGameDatabase::Kind;
  const std::string size = std::to_string(d.fileLength);
  switch (d.kind) {
    case Kind::kNoGameObjects:
      return "Fatal:  " + path +
             " is not a game database: it holds neither a map description "
             "nor a single hex object. Nothing was written.\n";
    case Kind::kNoMapDescription:
      return "Fatal:  No map description found in the game database, and "
             "its " +
             size + " bytes are too few to hold the map size (bytes " +
             std::to_string(kColumnsOffset) + " and " +
             std::to_string(kRowsOffset) + ").\n";
    case Kind::kMapSizePastEnd:
      return "Fatal:  The map description at byte offset " +
             std::to_string(d.mapDescription) +
             " runs past the end of the game database: its map size needs "
             "byte " +
             std::to_string(d.mapSizeByte) + ", the file has " + size +
             " bytes.\n";
    case Kind::kNoRowsOrColumns:
      return "Fatal:  The game database gives a map of " +
             mapSize(d.rows, d.columns) +
             ", but a map has at least one row and one column. Nothing was "
             "written.\n";
    case Kind::kTooFewHexObjects:
      return "Fatal:  The game database holds " + std::to_string(d.hexObjects) +
             " hex objects, but its map of " + mapSize(d.rows, d.columns) +
             " needs " + std::to_string(d.hexesNeeded) + ".\n";
    case Kind::kHexObjectPastEnd:
      return "Fatal:  Hex object " + std::to_string(d.hex) +
             " at byte offset " + std::to_string(d.hexPosition) +
             " runs past the end of the game database: its fields reach "
             "byte " +
             std::to_string(d.hexLastByte) + ", the file has " + size +
             " bytes.\n";
  }
  return "";
}

Stop notAWebmapStop(const NotAWebmapDatabase& e) {
  const std::string name = "'" + e.database + "'";
  std::string text;
  if (e.lookupError.empty()) {
    text = "Fatal:  The database " + name + " holds more than the webmap: ";
    for (size_t i = 0; i < e.others.size() && i < kOthersNamed; ++i) {
      text += (i > 0 ? ", " : "") + e.others[i];
    }
    if (e.others.size() > kOthersNamed) {
      text += " and " + std::to_string(e.others.size() - kOthersNamed) + " more";
    }
    text += ".\n";
  } else {
    text = "Fatal:  Could not look up what the database " + name +
           " holds: " + e.lookupError + "\n";
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
  const std::string written = "This run had written " +
                              std::to_string(upload.written) + " of " + total +
                              " hexes when it could no longer connect: ";
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

}  // namespace

Stop unreadableGameDatabaseStop(const UnreadableGameDatabase& unreadable,
                                const std::string& configurationFile) {
  using Why = UnreadableGameDatabase::Why;
  // "X, the path that /srv/quarrion/config.txt names"
  const std::string named =
      unreadable.wholePath + ", the path that " + configurationFile + " names";
  std::string why;
  switch (unreadable.why) {
    case Why::kMissing:
      why = "Nothing is at " + named +
            ". Write the game database's path as the first word of "
            "config.txt: whole, or from the folder of config.txt.";
      break;
    case Why::kFolder:
      why = named + ", is a folder. Write the path of the game database file "
                    "as the first word of config.txt.";
      break;
    case Why::kNotAFile:
      why = named + ", is a pipe or a device, not the game database file.";
      break;
    case Why::kNotAllowed:
      why = "This run may not read " + named +
            ": let the account that runs the tool read it.";
      break;
    case Why::kTooLarge:
      why = named + ", is 2 GiB or larger, and no game database is: is it the "
                    "right file?";
      break;
    case Why::kCutShort:
      why = named + ", could not be read whole: it changed while it was read "
                    "(is the game saving it?), or memory ran short. Run again.";
      break;
  }
  Stop stop{kExitGameDatabaseUnreadable,
            "Fatal:  Couldn't find Quarrion database!\n"
            "Fatal:  Error (-1) encountered. Shutting down.\n"
            "Path: " +
                unreadable.path + "\n" + continuationLines(why) + "\n"};
  stop.prompt = kPressAnyKey;
  return stop;
}

Stop damagedGameDatabaseStop(const std::string& path,
                             const DamagedGameDatabase& damaged) {
  return {kExitGameDatabaseDamaged, damagedText(path, damaged)};
}

std::string surplusHexObjectsLine(const DecodedMap& map) {
  return "Info:   Ignoring " + std::to_string(map.surplusHexObjects) +
         " hex objects beyond the " + std::to_string(map.hexCount) +
         " of the map of " + mapSize(map.rows, map.columns) + ".\n";
}

Stop webmapStop(const WebmapStop& stop, int32_t hexCount,
                const HexesWritten& upload, bool singleConnection) {
  if (const auto* notAWebmap = std::get_if<NotAWebmapDatabase>(&stop)) {
    return notAWebmapStop(*notAWebmap);
  }
  if (const auto* lost = std::get_if<TransactionLost>(&stop)) {
    return {kExitServerUnreachable,
            "Fatal:  The MySQL server undid this run's upload: " + lost->error +
                "\n" +
                continuationLines(
                    "The webmap holds the last completed run's turn, whole "
                    "(on tables with transactions, as InnoDB's are), and "
                    "nothing more was sent. Run the tool again once it can "
                    "connect: the next run writes every hex.")};
  }
  Stop unreachable = serverUnreachableStop(
      std::get<ConnectProblem>(stop),
      {hexCount, kMostCheckConnections, !singleConnection});
  unreachable.text += uploadCutShortLines(upload);
  return unreachable;
}

Stop statementsFailedStop(const WebmapRun& run) {
  const int failed = run.failedStatements();
  std::string text = "Fatal:  " + std::to_string(failed) +
                     (failed == 1 ? " statement" : " statements") +
                     " failed on the MySQL server; the webmap is incomplete. "
                     "First failure: " +
                     run.firstFailure().error +
                     " (in: " + run.firstFailure().statement + ")\n";
  if (run.webmapWentMissing()) {
    text += continuationLines(
        "Another client changed the webmap during this run: the database "
        "or a table that this run had found or made went missing. Is "
        "another run of the tool, from another folder or another machine, "
        "writing the same webmap? Let one run at a time write it (runs from "
        "one folder take turns by themselves), then run again.");
  }
  Stop stop{kExitStatementsFailed, text};
  stop.prompt = "";
  stop.waitsForKey = false;
  return stop;
}
