#include "driver/map_decoding.h"

#include "driver/fatal_stop.h"
#include "gamedb/grid_size.h"
#include "gamedb/hex_fields.h"
#include "gamedb/object_layout.h"
#include "gamedb/object_scan.h"
#include "translate/field_translation.h"

namespace {

// The eight hex fields in their fixed order: the line that announces the
// field's extraction, where it lies in a hex object, where it goes in the hex
// table, and how it is translated into the number the webmap stores.
struct HexFieldPass {
  const char* line;
  FieldLocation location;
  FieldArray HexTable::*field;
  void (*translate)(FieldArray&);
};

const HexFieldPass kHexFieldPasses[] = {
    {"Info:   Getting X-Coordinate information...\n", kXField, &HexTable::x,
     translateNumber},
    {"Info:   Getting Y-Coordinate information...\n", kYField, &HexTable::y,
     translateNumber},
    {"Info:   Getting Terrain information...\n", kTerrainField,
     &HexTable::terrain, translateTerrain},
    {"Info:   Getting Starbase information...\n", kStarbaseField,
     &HexTable::starbase, translateStarbase},
    {"Info:   Getting Planet information...\n", kPlanetField, &HexTable::planet,
     translatePlanet},
    {"Info:   Getting Empire Political Control infomation...\n",
     kPoliticalControlField, &HexTable::politicalControl,
     translatePoliticalControl},
    {"Info:   Getting Defense Value information...\n", kDefenseValueField,
     &HexTable::defenseValue, translateNumber},
    {"Info:   Getting Economy information...\n", kEconomyField,
     &HexTable::economy, translateNumber},
};

std::string gridSizeOutsideText(const GameObjectPositions& found,
                                int32_t length) {
  const std::string size = std::to_string(length);
  if (found.mapDescription == 0) {
    return "Fatal:  No map description found in the game database, and its " +
           size + " bytes are too few to hold the map size (bytes " +
           std::to_string(kColumnsOffset) + " and " +
           std::to_string(kRowsOffset) + ").\n" + kPressAnyKey;
  }
  return "Fatal:  The map description at byte offset " +
         std::to_string(found.mapDescription) +
         " runs past the end of the game database: its map size needs byte " +
         std::to_string(rowsBytePosition(found.mapDescription)) +
         ", the file has " + size + " bytes.\n" + kPressAnyKey;
}

std::string mapSize(const DecodedMap& map) {
  return std::to_string(map.rows) + " rows x " + std::to_string(map.columns) +
         " columns";
}

}  // namespace

bool decodeMap(std::ostream& out, const std::string& path,
               const GameDatabaseBuffer& buffer, DecodedMap& map,
               std::string& fatalText) {
  const uint8_t* bytes = buffer.bytes.get();
  const GameObjectPositions found = findGameObjects(bytes, buffer.length);

  out << "Info:   Getting rows.\n";
  if (found.mapDescription == 0 && found.hexObjectCount == 0) {
    fatalText = "Fatal:  " + path +
                " is not a game database: it holds neither a map description "
                "nor a single hex object. Nothing was written.\n" +
                kPressAnyKey;
    return false;
  }
  if (!gridSizeInBuffer(found.mapDescription, buffer.length)) {
    fatalText = gridSizeOutsideText(found, buffer.length);
    return false;
  }
  map.rows = readRows(bytes, found.mapDescription);
  out << "Info:   Getting columns.\n";
  map.columns = readColumns(bytes, found.mapDescription);
  // Every map a game makes has at least one row and one column. Anything else
  // is a wrong or broken file, which must not replace the webmap with an
  // empty map (nor make a positive count of two negative sizes).
  if (map.rows <= 0 || map.columns <= 0) {
    fatalText = "Fatal:  The game database gives a map of " + mapSize(map) +
                ", but a map has at least one row and one column. Nothing was "
                "written.\n" +
                kPressAnyKey;
    return false;
  }
  map.hexCount = map.rows * map.columns;

  map.hexes = createHexTable(map.hexCount);
  out << "Info:   Sorting ?AVtMetaMapHex objects.\n";
  const int32_t hexObjects = findHexObjects(found, map.hexes.positions);
  const int32_t needed = map.hexCount;
  if (hexObjects < needed) {
    fatalText = "Fatal:  The game database holds " +
                std::to_string(hexObjects) + " hex objects, but its map of " +
                mapSize(map) + " needs " + std::to_string(needed) + ".\n" +
                kPressAnyKey;
    return false;
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
    fatalText = "Fatal:  Hex object " + std::to_string(pastEnd) +
                " at byte offset " + std::to_string(position) +
                " runs past the end of the game database: its fields reach "
                "byte " +
                std::to_string(position + kHexObjectExtent - 1) +
                ", the file has " + std::to_string(buffer.length) +
                " bytes.\n" + kPressAnyKey;
    return false;
  }

  for (const HexFieldPass& pass : kHexFieldPasses) {
    out << pass.line;
    extractField(bytes, map.hexes.positions, pass.location,
                 map.hexes.*pass.field);
  }
  return true;
}

void translateHexTable(HexTable& hexes) {
  for (const HexFieldPass& pass : kHexFieldPasses) {
    pass.translate(hexes.*pass.field);
  }
}
