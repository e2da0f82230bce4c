// Where the map page draws each maphex row: the hexes that can be placed
// (X and Y are numbers), their centres in the drawing, the drawing's size,
// and what is wrong with the webmap as the page reports it.
#ifndef ZELKOR_MAPPAGE_MAP_LAYOUT_H_
#define ZELKOR_MAPPAGE_MAP_LAYOUT_H_

#include <string>
#include <vector>

#include "mappage/hex_geometry.h"
#include "webmap/webmap_reader.h"

struct PlacedHex {
  const MapHexRow* row;  // in the webmap laid out
  long x, y;             // its column and row, read from the row
  Point centre;          // in the drawing, before the origin is added
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
  // Where hex (0, 0)'s centre lies in the drawing.
  Point origin{0, 0};
  double drawingWidth = 0;
  double drawingHeight = 0;
};

// Lays out every row of webmap, which must outlive the layout.
MapLayout layOutMap(const WebmapContent& webmap);

#endif  // ZELKOR_MAPPAGE_MAP_LAYOUT_H_
