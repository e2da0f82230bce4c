// The decoding phases of a run: grid size, hex table and scan, and the eight
// field extractions. A damaged game database is caught here, before
// anything is sent to the MySQL server.
#ifndef ZELKOR_GAMEDB_MAP_DECODING_H_
#define ZELKOR_GAMEDB_MAP_DECODING_H_

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>

#include "gamedb/game_database.h"
#include "gamedb/hex_table.h"

struct DecodedMap {
  int32_t rows = 0;
  int32_t columns = 0;
  int32_t hexCount = 0;  // rows x columns
  HexTable hexes;
};

// Writes the phases' progress lines and fills map with byte tokens. Returns
// what is wrong, as whole "Fatal:  " lines, when the
// file at path holds neither a map description nor a hex object, when the
// map size bytes or a needed hex object's fields lie outside the buffer, when
// the map has no row or no column, or when the file holds fewer hex objects
// than the map needs. Surplus hex objects past the first rows x columns are
// ignored, with an Info line.
std::optional<std::string> decodeMap(std::ostream& out, const std::string& path,
                                     const GameDatabaseBuffer& buffer,
                                     DecodedMap& map);

#endif  // ZELKOR_GAMEDB_MAP_DECODING_H_
