// The map page: the webmap drawn as one self-contained HTML file (inline SVG,
// CSS and the page's script, nothing fetched), one hexagon per maphex row,
// coloured by political control, with the terrain's glyph, planet and
// starbase markers, a heading, warnings for a webmap that is not complete, a
// legend of what the map uses, and each row's columns for the script.
#ifndef ZELKOR_MAPPAGE_MAP_PAGE_H_
#define ZELKOR_MAPPAGE_MAP_PAGE_H_

#include <string>
#include <vector>

#include "webmap/webmap_reader.h"

struct MapPage {
  std::string html;
  int hexesDrawn = 0;
  // What is wrong with the webmap, as the page shows it; empty when the
  // webmap is complete.
  std::vector<std::string> warnings;
};

MapPage renderMapPage(const WebmapContent& webmap);

#endif  // ZELKOR_MAPPAGE_MAP_PAGE_H_
