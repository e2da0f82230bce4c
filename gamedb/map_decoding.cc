#include "gamedb/map_decoding.h"

#include <iterator>

#include "gamedb/grid_size.h"
#include "gamedb/hex_fields.h"
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

std::string gridSizeOutsideText(const GameObjectPositions& found,
                                int32_t length) {
  const std::string size = std::to_string(length);
  if (found.mapDescription == 0) {
    return "Fatal:  No map description found in the game database, and its " +
           size + " bytes are too few to hold the map size (bytes " +
           std::to_string(kColumnsOffset) + " and " +
           std::to_string(kRowsOffset) + ").\n";
  }
  return "Fatal:  The map description at byte offset " +
         std::to_string(found.mapDescription) +
         " runs past the end of the game database: its map size needs byte " +
         std::to_string(rowsBytePosition(found.mapDescription)) +
         ", the file has " + size + " bytes.\n";
}

std::string mapSize(const DecodedMap& map) {
  return std::to_string(map.rows) + " rows x " + std::to_string(map.columns) +
         " columns";
}

}  // namespace

std::optional<std::string> decodeMap(std::ostream& out, const std::string& path,
                                     const GameDatabaseBuffer& buffer,
                                     DecodedMap& map) {
  const uint8_t* bytes = buffer.bytes.get();
  const GameObjectPositions found = findGameObjects(bytes, buffer.length);

  out << "Info:   Getting rows.\n";
  if (found.mapDescription == 0 && found.hexObjectCount == 0) {
    return "Fatal:  " + path +
           " is not a game database: it holds neither a map description "
           "nor a single hex object. Nothing was written.\n";
  }
  if (!gridSizeInBuffer(found.mapDescription, buffer.length)) {
    return gridSizeOutsideText(found, buffer.length);
  }
  map.rows = readRows(bytes, found.mapDescription);
  out << "Info:   Getting columns.\n";
  map.columns = readColumns(bytes, found.mapDescription);
  // Every map a game makes has at least one row and one column. Anything else
  // is a wrong or broken file, which must not replace the webmap with an
  // empty map (nor make a positive count of two negative sizes).
  if (map.rows <= 0 || map.columns <= 0) {
    return "Fatal:  The game database gives a map of " + mapSize(map) +
           ", but a map has at least one row and one column. Nothing was "
           "written.\n";
  }
  map.hexCount = map.rows * map.columns;

  map.hexes = createHexTable(map.hexCount);
  out << "Info:   Sorting ?AVtMetaMapHex objects.\n";
  const int32_t hexObjects = findHexObjects(found, map.hexes.positions);
  const int32_t needed = map.hexCount;
  if (hexObjects < needed) {
    return "Fatal:  The game database holds " + std::to_string(hexObjects) +
           " hex objects, but its map of " + mapSize(map) + " needs " +
           std::to_string(needed) + ".\n";
  }
  if (hexObjects > needed) {
    out << "Info:   Ignoring " << hexObjects - needed
        << " hex objects beyond the " << needed << " of the map of "
        << mapSize(map) << ".\n";
  }
  const int32_t pastEnd =
      firstHexObjectPastEnd(map.hexes.positions, buffer.length);
  if (pastEnd >= 0) {
    const int32_t position = map.hexes.positions[pastEnd];
    return "Fatal:  Hex object " + std::to_string(pastEnd) +
           " at byte offset " + std::to_string(position) +
           " runs past the end of the game database: its fields reach "
           "byte " +
           std::to_string(position + kHexObjectExtent - 1) + ", the file has " +
           std::to_string(buffer.length) + " bytes.\n";
  }

  for (size_t i = 0; i < std::size(kHexFields); ++i) {
    out << kFieldLines[i].line;
    extractField(bytes, map.hexes.positions, kHexFields[i].location,
                 map.hexes.*kHexFields[i].member);
  }
  return std::nullopt;
}
