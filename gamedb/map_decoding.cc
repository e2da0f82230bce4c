#include "gamedb/map_decoding.h"

#include <iterator>

#include "gamedb/grid_size.h"
#include "gamedb/field_extraction.h"
#include "gamedb/object_layout.h"
#include "gamedb/object_scan.h"

namespace {

// The line that announces each field's extraction, in the order of
// kHexFields.
struct FieldLine {
  HexField field;
  const char* line;
};

constexpr FieldLine kFieldLines[] = {
    {HexField::kX, "Info:   Getting X-Coordinate information...\n"},
    {HexField::kY, "Info:   Getting Y-Coordinate information...\n"},
    {HexField::kTerrain, "Info:   Getting Terrain information...\n"},
    {HexField::kStarbase, "Info:   Getting Starbase information...\n"},
    {HexField::kPlanet, "Info:   Getting Planet information...\n"},
    {HexField::kPoliticalControl,
     "Info:   Getting Empire Political Control infomation...\n"},
    {HexField::kDefenseValue, "Info:   Getting Defense Value information...\n"},
    {HexField::kEconomy, "Info:   Getting Economy information...\n"},
};

static_assert(followsHexFields(kFieldLines),
              "one line per hex field, in the table's order");

using Located = Outcome<DecodedMap, DamagedGameDatabase>;

}  // namespace

Located locateMapHexes(std::ostream& out, const GameDatabaseBuffer& buffer) {
  using Kind = DamagedGameDatabase::Kind;
  const uint8_t* bytes = buffer.bytes.get();
  const GameObjectPositions found = findGameObjects(bytes, buffer.length);
  DecodedMap map;
  // The numbers that show what is wrong, filled in as the checks go.
  DamagedGameDatabase facts;
  facts.fileLength = buffer.length;
  facts.mapDescription = found.mapDescription;
  const auto damaged = [&](Kind kind) {
    facts.kind = kind;
    facts.rows = map.rows;
    facts.columns = map.columns;
    facts.hexesNeeded = map.hexCount;
    return Located::failed(facts);
  };

  out << "Info:   Getting rows.\n";
  if (found.mapDescription == 0 && found.hexObjectCount == 0) {
    return damaged(Kind::kNoGameObjects);
  }
  if (!gridSizeInBuffer(found.mapDescription, buffer.length)) {
    facts.mapSizeByte = rowsBytePosition(found.mapDescription);
    return damaged(found.mapDescription == 0 ? Kind::kNoMapDescription
                                             : Kind::kMapSizePastEnd);
  }
  map.rows = readRows(bytes, found.mapDescription);
  out << "Info:   Getting columns.\n";
  map.columns = readColumns(bytes, found.mapDescription);
  // Every map a game makes has at least one row and one column. Anything else
  // is a wrong or broken file, which must not replace the webmap with an
  // empty map (nor make a positive count of two negative sizes).
  if (map.rows <= 0 || map.columns <= 0) return damaged(Kind::kNoRowsOrColumns);
  map.hexCount = map.rows * map.columns;

  map.hexes = createHexTable(map.hexCount);
  out << "Info:   Sorting ?AVtMetaMapHex objects.\n";
  facts.hexObjects = findHexObjects(found, map.hexes.positions);
  if (facts.hexObjects < map.hexCount) return damaged(Kind::kTooFewHexObjects);
  map.surplusHexObjects = facts.hexObjects - map.hexCount;
  const int32_t pastEnd =
      firstHexObjectPastEnd(map.hexes.positions, buffer.length);
  if (pastEnd >= 0) {
    facts.hex = pastEnd;
    facts.hexPosition = map.hexes.positions[pastEnd];
    facts.hexLastByte = facts.hexPosition + kHexObjectExtent - 1;
    return damaged(Kind::kHexObjectPastEnd);
  }
  return map;
}

void extractHexFields(std::ostream& out, const GameDatabaseBuffer& buffer,
                      DecodedMap& map) {
  for (size_t i = 0; i < std::size(kHexFields); ++i) {
    out << kFieldLines[i].line;
    extractField(buffer.bytes.get(), map.hexes.positions,
                 kHexFields[i].location, map.hexes.*kHexFields[i].member);
  }
}
