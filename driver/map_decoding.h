// The decoding phases of a run: grid size, hex table and scan, the eight field
// extractions, and later the eight translations. A damaged game database is
// caught here, before anything is sent to the MySQL server.
#ifndef ZELKOR_DRIVER_MAP_DECODING_H_
#define ZELKOR_DRIVER_MAP_DECODING_H_

#include <cstdint>
#include <ostream>
#include <string>

#include "driver/game_database.h"
#include "gamedb/hex_table.h"

struct DecodedMap {
  int32_t rows = 0;
  int32_t columns = 0;
  int32_t hexCount = 0;  // rows x columns
  HexTable hexes;
};

// Writes the phases' progress lines and fills map with byte tokens. Returns
// false, with the fatal stop's text (prompt included) in fatalText, when the
// file at path holds neither a map description nor a hex object, when the
// map size bytes or a needed hex object's fields lie outside the buffer, when
// the map has no row or no column, or when the file holds fewer hex objects
// than the map needs. Surplus hex objects past the first rows x columns are
// ignored, with an Info line.
bool decodeMap(std::ostream& out, const std::string& path,
               const GameDatabaseBuffer& buffer, DecodedMap& map,
               std::string& fatalText);

// The eight translations, in the fixed field order.
void translateHexTable(HexTable& hexes);

#endif  // ZELKOR_DRIVER_MAP_DECODING_H_
