// Which maphex rows the map page can place (X and Y are numbers of the
// webmap's range), the box of columns and rows they fill, and what is wrong
// with the webmap as the page reports it. Where a hex is drawn is the page
// script's to say.
#ifndef ZELKOR_MAPPAGE_MAP_LAYOUT_H_
#define ZELKOR_MAPPAGE_MAP_LAYOUT_H_

#include <string>
#include <vector>

#include "webmap/webmap_reader.h"

struct PlacedHex {
  const MapHexRow* row;  // in the webmap laid out
  long x, y;             // its column and row, read from the row
};

struct MapLayout {
  // The map size from the one mapdescription row: "20 columns x 12 rows",
  // or "unknown size".
  std::string sizeText;
  std::vector<PlacedHex> placed;
  // What is wrong with the webmap; empty when it is complete.
  std::vector<std::string> warnings;
  // The smallest and largest X and Y of the placed hexes.
  long minColumn = 0, maxColumn = 0, minRow = 0, maxRow = 0;
};

// Lays out every row of webmap, which must outlive the layout.
MapLayout layOutMap(const WebmapContent& webmap);

#endif  // ZELKOR_MAPPAGE_MAP_LAYOUT_H_
