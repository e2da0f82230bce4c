// Reading the webmap back from the server, for the map page: the
// mapdescription rows and every maphex row, as the server returns them.
#ifndef ZELKOR_WEBMAP_WEBMAP_READER_H_
#define ZELKOR_WEBMAP_WEBMAP_READER_H_

#include <string>
#include <vector>

#include "webmap/statement_runner.h"
#include "webmap/webmap_tables.h"

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
