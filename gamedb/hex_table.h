// The hex table: what the tool learns about each hex, as nine parallel arrays
// indexed by hex number, the rank of the hex object in file order. The field
// arrays hold byte tokens after extraction and decimal texts after
// translation.
#ifndef ZELKOR_GAMEDB_HEX_TABLE_H_
#define ZELKOR_GAMEDB_HEX_TABLE_H_

#include <cstdint>
#include <string>
#include <vector>

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

// The eight field arrays in the fixed field order: X, Y, Terrain, Starbase,
// Planet, Political control, Defense value, Economy.
constexpr FieldArray HexTable::*kHexTableFields[] = {
    &HexTable::x,
    &HexTable::y,
    &HexTable::terrain,
    &HexTable::starbase,
    &HexTable::planet,
    &HexTable::politicalControl,
    &HexTable::defenseValue,
    &HexTable::economy,
};

// A table of hexCount hexes (none when hexCount is 0 or less), every text
// empty and every position 0.
HexTable createHexTable(int32_t hexCount);

#endif  // ZELKOR_GAMEDB_HEX_TABLE_H_
