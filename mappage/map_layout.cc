#include "mappage/map_layout.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <set>
#include <utility>

namespace {

// Room around the hexes, in pixels.
constexpr double kMargin = 4.0;

// A whole number in the text (an optional sign and digits, nothing else).
bool readInt(const std::string& text, long& value) {
  if (text.empty()) return false;
  char* end = nullptr;
  value = std::strtol(text.c_str(), &end, 10);
  return *end == '\0' && value > -100000 && value < 100000;
}

}  // namespace

MapLayout layOutMap(const WebmapContent& webmap) {
  MapLayout layout;
  const double size = kHexSize;
  const double halfHeight = size * std::sqrt(3.0) / 2;

  // The map size, from the one mapdescription row.
  long width = 0;
  long height = 0;
  const bool sized = webmap.descriptions.size() == 1 &&
                     readInt(webmap.descriptions[0].width, width) &&
                     readInt(webmap.descriptions[0].height, height);
  if (webmap.descriptions.size() != 1) {
    layout.warnings.push_back(
        "The webmap has " + std::to_string(webmap.descriptions.size()) +
        " mapdescription rows; a complete webmap has exactly one.");
  }
  if (sized && static_cast<long>(webmap.hexes.size()) != width * height) {
    layout.warnings.push_back(
        "The webmap holds " + std::to_string(webmap.hexes.size()) +
        " hex rows, but its map of " + std::to_string(width) + " x " +
        std::to_string(height) + " has " + std::to_string(width * height) +
        " hexes.");
  }

  // Place every row whose X and Y are numbers.
  std::vector<PlacedHex>& placed = layout.placed;
  std::set<std::pair<long, long>> seen;
  int unplaced = 0;
  int shared = 0;
  double minX = 0, minY = 0, maxX = 0, maxY = 0;
  for (const MapHexRow& row : webmap.hexes) {
    long x = 0;
    long y = 0;
    if (!readInt(row.x, x) || !readInt(row.y, y)) {
      ++unplaced;
      continue;
    }
    if (!seen.insert({x, y}).second) ++shared;
    const Point c = hexCentre(static_cast<int>(x), static_cast<int>(y), size);
    if (placed.empty()) {
      minX = maxX = c.x;
      minY = maxY = c.y;
    }
    minX = std::min(minX, c.x);
    maxX = std::max(maxX, c.x);
    minY = std::min(minY, c.y);
    maxY = std::max(maxY, c.y);
    placed.push_back({&row, c});
  }
  if (shared > 0) {
    layout.warnings.push_back(std::to_string(shared) +
                              " hex rows share their X and Y with another row; "
                              "only the last one drawn there shows.");
  }
  if (unplaced > 0) {
    layout.warnings.push_back(std::to_string(unplaced) +
                              " hex rows have an X or Y that is not a number "
                              "and are not drawn.");
  }
  layout.origin = {kMargin + size - minX, kMargin + halfHeight - minY};
  layout.drawingWidth =
      placed.empty() ? 0 : maxX - minX + 2 * size + 2 * kMargin;
  layout.drawingHeight =
      placed.empty() ? 0 : maxY - minY + 2 * halfHeight + 2 * kMargin;
  layout.sizeText = sized ? std::to_string(width) + " columns x " +
                                std::to_string(height) + " rows"
                          : "unknown size";
  return layout;
}
