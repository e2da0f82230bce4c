// The map page: the webmap drawn as one self-contained HTML file (inline SVG
// and CSS, no script, nothing fetched), one hexagon per maphex row, coloured
// by political control, with the terrain's glyph, planet and starbase
// markers, every column on hover, a heading, warnings for a webmap that is
// not complete, and a legend of what the map uses.
#ifndef ZELKOR_MAPPAGE_MAP_PAGE_H_
#define ZELKOR_MAPPAGE_MAP_PAGE_H_

#include <string>
#include <vector>

#include "mappage/hex_geometry.h"
#include "webmap/webmap_reader.h"

// Where the map's drawing starts on the page, in CSS pixels: below a header
// of fixed height, at the left edge.
constexpr int kMapLeft = 0;
constexpr int kMapTop = 96;

struct MapPage {
  std::string html;
  int hexesDrawn = 0;
  // What is wrong with the webmap, as the page shows it; empty when the
  // webmap is complete.
  std::vector<std::string> warnings;
  // Where hex (0, 0)'s centre lies in the drawing; hex (x, y) is at
  // origin + hexCentre(x, y), and on the page kMapLeft and kMapTop further.
  Point origin{0, 0};
};

MapPage renderMapPage(const WebmapContent& webmap);

#endif  // ZELKOR_MAPPAGE_MAP_PAGE_H_
