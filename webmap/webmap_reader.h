// Reading the webmap back from the server, for the map page: the
// mapdescription rows and every maphex row, as the server returns them.
#ifndef ZELKOR_WEBMAP_WEBMAP_READER_H_
#define ZELKOR_WEBMAP_WEBMAP_READER_H_

#include <string>
#include <vector>

#include "base/outcome.h"
#include "webmap/statement_runner.h"
#include "webmap/webmap_tables.h"

struct WebmapContent {
  std::vector<MapDescriptionRow> descriptions;
  std::vector<MapHexRow> hexes;  // by ID
};

// The maphex columns in the order the reader asks for them (and the map page
// lists them): those the tool writes, in the table's order, then those it
// leaves for web pages.
const std::vector<const MapHexColumn*>& mapHexColumnsRead();

// Reads both tables of the webmap database. Fails with the failed
// statement's result: the server unreachable (its outcome
// kServerUnreachable), or the database or a table missing.
Outcome<WebmapContent, StatementResult> readWebmap(
    const WebmapConnectionValues& values);

#endif  // ZELKOR_WEBMAP_WEBMAP_READER_H_
