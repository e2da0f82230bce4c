#include "driver/generator.h"

#include "driver/banner.h"
#include "driver/configuration.h"
#include "driver/exit_status.h"
#include "driver/fatal_stop.h"
#include "driver/game_database.h"
#include "driver/map_decoding.h"

int runGenerator(std::ostream& out) {
  out << bannerText();

  ToolConfiguration config;
  switch (readConfiguration(out, config)) {
    case ConfigurationStatus::kNotFound:
      return fatalStop(out,
                       "Fatal:  Configuration file not found!\n"
                       "Press any key to exit...\n",
                       kExitConfigurationNotFound);
    case ConfigurationStatus::kInvalid:
      return fatalStop(out,
                       "Fatal:  Configuration file is invalid!\n"
                       "Press any key to exit...\n",
                       kExitConfigurationInvalid);
    case ConfigurationStatus::kRead:
      break;
  }

  GameDatabaseBuffer buffer;
  if (!loadGameDatabase(out, config.gameDatabasePath, buffer)) {
    return fatalStop(out, unreadableGameDatabaseText(config.gameDatabasePath),
                     kExitGameDatabaseUnreadable);
  }

  DecodedMap map;
  std::string damaged;
  if (!decodeMap(out, buffer, map, damaged)) {
    return fatalStop(out, damaged, kExitGameDatabaseDamaged);
  }
  translateHexTable(map.hexes, map.hexCount);

  out << "Info:   Webmap database generation complete.  Exiting.\n";
  return kExitCompleted;
}
