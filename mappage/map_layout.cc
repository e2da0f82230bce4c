#include "mappage/map_layout.h"

#include <algorithm>
#include <cstdlib>
#include <set>
#include <utility>

namespace {

// A whole number in the text (an optional sign and digits, nothing else).
bool readInt(const std::string& text, long& value) {
  if (text.empty()) return false;
  char* end = nullptr;
  value = std::strtol(text.c_str(), &end, 10);
  return *end == '\0' && value > -100000 && value < 100000;
}

// The webmap's coordinates: a signed byte each.
bool inRange(long coordinate) {
  return coordinate >= -128 && coordinate <= 127;
}

// At most this many of the rows that are not drawn are named.
constexpr size_t kUnplacedNamed = 10;

// "2 hex rows have an X or Y outside -128 ... 127, or no number there, and
// are not drawn: ID 7 (X 200, Y -300), ID 9 (X abc, Y 1)."
std::string unplacedWarning(const std::vector<const MapHexRow*>& rows) {
  std::string text = std::to_string(rows.size()) +
                     (rows.size() == 1 ? " hex row has" : " hex rows have") +
                     " an X or Y outside -128 ... 127, or no number there, "
                     "and " +
                     (rows.size() == 1 ? "is" : "are") + " not drawn: ";
  for (size_t i = 0; i < rows.size() && i < kUnplacedNamed; ++i) {
    text += (i > 0 ? ", " : "") + std::string("ID ") + rows[i]->id + " (X " +
            rows[i]->x + ", Y " + rows[i]->y + ")";
  }
  if (rows.size() > kUnplacedNamed) {
    text += " and " + std::to_string(rows.size() - kUnplacedNamed) + " more";
  }
  return text + ".";
}

}  // namespace

MapLayout layOutMap(const WebmapContent& webmap) {
  MapLayout layout;

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

  // Place every row whose X and Y are numbers of the webmap's range; list
  // the others instead of drawing them far away.
  std::vector<PlacedHex>& placed = layout.placed;
  std::set<std::pair<long, long>> seen;
  std::vector<const MapHexRow*> unplaced;
  int shared = 0;
  for (const MapHexRow& row : webmap.hexes) {
    long x = 0;
    long y = 0;
    if (!readInt(row.x, x) || !readInt(row.y, y) || !inRange(x) ||
        !inRange(y)) {
      unplaced.push_back(&row);
      continue;
    }
    if (!seen.insert({x, y}).second) ++shared;
    if (placed.empty()) {
      layout.minColumn = layout.maxColumn = x;
      layout.minRow = layout.maxRow = y;
    }
    layout.minColumn = std::min(layout.minColumn, x);
    layout.maxColumn = std::max(layout.maxColumn, x);
    layout.minRow = std::min(layout.minRow, y);
    layout.maxRow = std::max(layout.maxRow, y);
    placed.push_back({&row, x, y});
  }
  if (shared > 0) {
    layout.warnings.push_back(std::to_string(shared) +
                              " hex rows share their X and Y with another row; "
                              "only the last one drawn there shows.");
  }
  if (!unplaced.empty()) layout.warnings.push_back(unplacedWarning(unplaced));
  layout.sizeText = sized ? std::to_string(width) + " columns x " +
                                std::to_string(height) + " rows"
                          : "unknown size";
  return layout;
}
