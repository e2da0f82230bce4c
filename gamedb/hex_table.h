// The hex table: what the tool learns about each hex, as nine parallel arrays
// indexed by hex number, the rank of the hex object in file order. The field
// arrays hold byte tokens after extraction and decimal texts after
// translation.
#ifndef ZELKOR_GAMEDB_HEX_TABLE_H_
#define ZELKOR_GAMEDB_HEX_TABLE_H_

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>
#include <vector>

#include "gamedb/object_layout.h"

using FieldTexts = std::vector<std::string>;

struct HexTable {
  std::vector<int32_t> positions;  // object position of each hex object
  FieldTexts x;
  FieldTexts y;
  FieldTexts terrain;
  FieldTexts starbase;
  FieldTexts planet;
  FieldTexts politicalControl;
  FieldTexts defenseValue;
  FieldTexts economy;
};

// The eight hex fields, in the fixed field order in which every pass over
// them runs.
enum class HexField {
  kX,
  kY,
  kTerrain,
  kStarbase,
  kPlanet,
  kPoliticalControl,
  kDefenseValue,
  kEconomy,
};

// The one table of the hex fields: where each lies in a hex object (the
// offsets are in gamedb/object_layout.h) and where it goes in the hex table.
// Extraction, translation, the webmap's columns, the test builder and the
// fuzzer all walk it.
struct HexFieldEntry {
  HexField field;
  FieldLocation location;
  FieldTexts HexTable::*member;
};

constexpr HexFieldEntry kHexFields[] = {
    {HexField::kX, kXField, &HexTable::x},
    {HexField::kY, kYField, &HexTable::y},
    {HexField::kTerrain, kTerrainField, &HexTable::terrain},
    {HexField::kStarbase, kStarbaseField, &HexTable::starbase},
    {HexField::kPlanet, kPlanetField, &HexTable::planet},
    {HexField::kPoliticalControl, kPoliticalControlField,
     &HexTable::politicalControl},
    {HexField::kDefenseValue, kDefenseValueField, &HexTable::defenseValue},
    {HexField::kEconomy, kEconomyField, &HexTable::economy},
};

// Bytes a hex object needs from its position on: up to the end of its
// furthest field, so that a field added to the table is read within the
// bytes that extraction checks are there.
constexpr int32_t hexObjectExtentOf(const HexFieldEntry* fields, size_t n) {
  int32_t extent = 0;
  for (size_t i = 0; i < n; ++i) {
    const FieldLocation& at = fields[i].location;
    if (at.offset + at.byteCount > extent) extent = at.offset + at.byteCount;
  }
  return extent;
}
constexpr int32_t kHexObjectExtent =
    hexObjectExtentOf(kHexFields, std::size(kHexFields));

// Whether a table of what the run does with each hex field (entries with a
// member field) has one entry per field, in the order of kHexFields.
template <typename Entry, size_t n>
constexpr bool followsHexFields(const Entry (&table)[n]) {
  if (n != std::size(kHexFields)) return false;
  for (size_t i = 0; i < n; ++i) {
    if (table[i].field != kHexFields[i].field) return false;
  }
  return true;
}

// A table of hexCount hexes (none when hexCount is 0 or less), every text
// empty and every position 0.
HexTable createHexTable(int32_t hexCount);

#endif  // ZELKOR_GAMEDB_HEX_TABLE_H_
