// The decoding phases of a run: grid size, hex table and scan, and the eight
// field extractions. A damaged game database is caught here, before
// anything is sent to the MySQL server.
#ifndef ZELKOR_GAMEDB_MAP_DECODING_H_
#define ZELKOR_GAMEDB_MAP_DECODING_H_

#include <cstdint>
#include <ostream>
#include <string>

#include "base/outcome.h"
#include "gamedb/game_database.h"
#include "gamedb/hex_table.h"

struct DecodedMap {
  int32_t rows = 0;
  int32_t columns = 0;
  int32_t hexCount = 0;  // rows x columns
  HexTable hexes;
  // Hex objects past the first rows x columns, which are ignored.
  int32_t surplusHexObjects = 0;
};

// What makes a file no game database the tool can use, with the numbers that
// show it.
struct DamagedGameDatabase {
  enum class Kind {
    // Neither a map description nor a single hex object.
    kNoGameObjects,
    // No map description, and fewer bytes than the map size would need at
    // the start of the file.
    kNoMapDescription,
    // The map description's size bytes lie past the end of the file.
    kMapSizePastEnd,
    // The map has no row or no column (0 or a negative number).
    kNoRowsOrColumns,
    // Fewer hex objects than rows x columns.
    kTooFewHexObjects,
    // A needed hex object's fields run past the end of the file.
    kHexObjectPastEnd,
  } kind = Kind::kNoGameObjects;
  int32_t fileLength = 0;
  int32_t mapDescription = 0;  // its object position
  int32_t mapSizeByte = 0;     // the last byte the map size needs
  int32_t rows = 0;
  int32_t columns = 0;
  int32_t hexObjects = 0;  // found
  int32_t hexesNeeded = 0;
  int32_t hex = 0;           // the hex object that runs past the end
  int32_t hexPosition = 0;   // its object position
  int32_t hexLastByte = 0;   // the last byte its fields need
};

// The map size and the hex objects: writes "Info:   Getting rows.",
// "Info:   Getting columns." and "Info:   Sorting ?AVtMetaMapHex objects.",
// and gives the map with its hex table sized and the hex objects' positions
// found, or what makes the file unusable.
Outcome<DecodedMap, DamagedGameDatabase> locateMapHexes(
    std::ostream& out, const GameDatabaseBuffer& buffer);

// The eight field extractions, each announced with its line, filling the
// hex table of a map that locateMapHexes gave with byte tokens.
void extractHexFields(std::ostream& out, const GameDatabaseBuffer& buffer,
                      DecodedMap& map);

#endif  // ZELKOR_GAMEDB_MAP_DECODING_H_
