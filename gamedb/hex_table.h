// The hex table: what the tool learns about each hex, as nine parallel arrays
// indexed by hex number, the rank of the hex object in file order. The field
// arrays hold byte tokens after extraction and decimal texts after
// translation.
#ifndef ZELKOR_GAMEDB_HEX_TABLE_H_
#define ZELKOR_GAMEDB_HEX_TABLE_H_

#include <cstdint>
#include <string>
#include <vector>

#include "gamedb/object_scan.h"

using FieldArray = std::vector<std::string>;

struct HexTable {
  std::vector<int32_t> positions;  // object position of each hex object
  FieldArray x;
  FieldArray y;
  FieldArray terrain;
  FieldArray starbase;
  FieldArray planet;
  FieldArray politicalControl;
  FieldArray defenseValue;
  FieldArray economy;
};

// A table of hexCount hexes (none when hexCount is 0 or less), every text
// empty and every position 0.
HexTable createHexTable(int32_t hexCount);

// Fills positions with the first hexCount hex objects in file order and
// returns how many hex objects the file holds in all, which may be more or
// fewer than hexCount. Entries beyond the number found are left as they were.
int32_t findHexObjects(const GameObjectPositions& found, int32_t hexCount,
                       std::vector<int32_t>& positions);

#endif  // ZELKOR_GAMEDB_HEX_TABLE_H_
