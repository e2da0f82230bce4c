// Reading the webmap back from the server, for the map page: the
// mapdescription rows and every maphex row, as the server returns them.
#ifndef ZELKOR_WEBMAP_WEBMAP_READER_H_
#define ZELKOR_WEBMAP_WEBMAP_READER_H_

#include <string>
#include <vector>

#include "webmap/statement_runner.h"

// One maphex row; a NULL reads as "".
struct MapHexRow {
  std::string id;
  std::string x;
  std::string y;
  std::string politicalControl;
  std::string terrainType;
  std::string planetType;
  std::string starbaseType;
  std::string baseEconomicPoints;
  std::string currentEconomicPoints;
  std::string baseVictoryPoints;
  std::string currentVictoryPoints;
  std::string baseSpeedPoints;
  std::string currentSpeedPoints;
  std::string locked;
  std::string lockId;
};

struct MapDescriptionRow {
  std::string id;
  std::string width;
  std::string height;
};

struct WebmapContent {
  std::vector<MapDescriptionRow> descriptions;
  std::vector<MapHexRow> hexes;  // by ID
};

// Reads both tables of the webmap database. On failure returns the failed
// statement's result (server unreachable, or the database or a table missing)
// and leaves content as it was.
StatementResult readWebmap(const WebmapConnectionValues& values,
                           WebmapContent& content);

#endif  // ZELKOR_WEBMAP_WEBMAP_READER_H_
