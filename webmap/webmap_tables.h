// The webmap's two tables, written once: each column's name, its SQL type,
// where the tool takes its value from, and where the map page's reader puts
// it. The CREATE, INSERT, UPDATE and SELECT texts are all made from these
// tables (webmap_tables.cc, hex_upload.cc, map_description.cc,
// webmap_reader.cc).
#ifndef ZELKOR_WEBMAP_WEBMAP_TABLES_H_
#define ZELKOR_WEBMAP_WEBMAP_TABLES_H_

#include <string>

#include "gamedb/hex_table.h"

// The webmap's tables as every statement names them: in lower case, so that
// servers which compare table names by case find them too.
constexpr char kMapHexTable[] = "maphex";
constexpr char kMapDescriptionTable[] = "mapdescription";

// One maphex row as the map page reads it; a NULL reads as "".
struct MapHexRow {
  std::string id;
  std::string x;
  std::string y;
  std::string politicalControl;
  std::string terrainType;
  std::string planetType;
  std::string starbaseType;
  std::string baseEconomicPoints;
  std::string currentEconomicPoints;
  std::string baseVictoryPoints;
  std::string currentVictoryPoints;
  std::string baseSpeedPoints;
  std::string currentSpeedPoints;
  std::string locked;
  std::string lockId;
};

// One mapdescription row as the map page reads it.
struct MapDescriptionRow {
  std::string id;
  std::string width;
  std::string height;
};

// Where the tool takes a column's value from when it writes a row.
enum class ColumnValue {
  kLeftForWebPages,  // never written: LOCKED and LOCKID
  kRowId,            // the hex number, or the map description's fixed ID
  kHexField,         // a field of the hex table
  kConstant,         // always the same text
  kColumns,          // the map's columns
  kRows,             // the map's rows
};

template <typename Row>
struct WebmapColumn {
  const char* name;
  const char* sqlType;
  ColumnValue value;
  HexField field;            // for kHexField
  const char* constant;      // for kConstant and a fixed kRowId
  std::string Row::*readAs;  // where the reader puts it, or nullptr
};

using MapHexColumn = WebmapColumn<MapHexRow>;
using MapDescriptionColumn = WebmapColumn<MapDescriptionRow>;

// The webmap has no column of its own for the defense value: it has always
// gone into the VictoryPoints columns, where web pages read it. The Base and
// Current columns of a pair take the same value.
constexpr MapHexColumn kMapHexColumns[] = {
    {"ID",
     "INTEGER PRIMARY KEY",
     ColumnValue::kRowId,
     {},
     nullptr,
     &MapHexRow::id},
    {"LOCKED",
     "DATETIME",
     ColumnValue::kLeftForWebPages,
     {},
     nullptr,
     &MapHexRow::locked},
    {"LOCKID",
     "INTEGER",
     ColumnValue::kLeftForWebPages,
     {},
     nullptr,
     &MapHexRow::lockId},
    {"X", "INTEGER NOT NULL", ColumnValue::kHexField, HexField::kX, nullptr,
     &MapHexRow::x},
    {"Y", "INTEGER NOT NULL", ColumnValue::kHexField, HexField::kY, nullptr,
     &MapHexRow::y},
    {"PoliticalControl", "INTEGER NOT NULL", ColumnValue::kHexField,
     HexField::kPoliticalControl, nullptr, &MapHexRow::politicalControl},
    {"TerrainType", "INTEGER NOT NULL", ColumnValue::kHexField,
     HexField::kTerrain, nullptr, &MapHexRow::terrainType},
    {"PlanetType", "INTEGER NOT NULL", ColumnValue::kHexField,
     HexField::kPlanet, nullptr, &MapHexRow::planetType},
    {"StarbaseType", "INTEGER NOT NULL", ColumnValue::kHexField,
     HexField::kStarbase, nullptr, &MapHexRow::starbaseType},
    {"BaseEconomicPoints", "INTEGER NOT NULL", ColumnValue::kHexField,
     HexField::kEconomy, nullptr, &MapHexRow::baseEconomicPoints},
    {"CurrentEconomicPoints", "INTEGER NOT NULL", ColumnValue::kHexField,
     HexField::kEconomy, nullptr, &MapHexRow::currentEconomicPoints},
    {"BaseVictoryPoints", "INTEGER NOT NULL", ColumnValue::kHexField,
     HexField::kDefenseValue, nullptr, &MapHexRow::baseVictoryPoints},
    {"CurrentVictoryPoints", "INTEGER NOT NULL", ColumnValue::kHexField,
     HexField::kDefenseValue, nullptr, &MapHexRow::currentVictoryPoints},
    {"BaseSpeedPoints",
     "DOUBLE NOT NULL",
     ColumnValue::kConstant,
     {},
     "1",
     &MapHexRow::baseSpeedPoints},
    {"CurrentSpeedPoints",
     "DOUBLE NOT NULL",
     ColumnValue::kConstant,
     {},
     "1",
     &MapHexRow::currentSpeedPoints},
};
// No two hexes share X and Y.
constexpr char kMapHexConstraint[] = "CONSTRAINT XYIndex UNIQUE(X, Y)";

// The one row has the ID 777777. CorrectedBaseAIs is always 1; the map page
// does not read it.
constexpr MapDescriptionColumn kMapDescriptionColumns[] = {
    {"ID",
     "INTEGER PRIMARY KEY",
     ColumnValue::kRowId,
     {},
     "777777",
     &MapDescriptionRow::id},
    {"LOCKED", "DATETIME", ColumnValue::kLeftForWebPages, {}, nullptr, nullptr},
    {"LOCKID", "INTEGER", ColumnValue::kLeftForWebPages, {}, nullptr, nullptr},
    {"Width",
     "INTEGER NOT NULL",
     ColumnValue::kColumns,
     {},
     nullptr,
     &MapDescriptionRow::width},
    {"Height",
     "INTEGER NOT NULL",
     ColumnValue::kRows,
     {},
     nullptr,
     &MapDescriptionRow::height},
    {"CorrectedBaseAIs",
     "INTEGER NOT NULL",
     ColumnValue::kConstant,
     {},
     "1",
     nullptr},
};

// A ninth hex field, or a column more, must find its place in both tables
// and in the reader's rows; the compiler checks that it has.
constexpr bool everyHexFieldHasAColumn() {
  for (const HexFieldEntry& entry : kHexFields) {
    bool found = false;
    for (const MapHexColumn& column : kMapHexColumns) {
      found = found || (column.value == ColumnValue::kHexField &&
                        column.field == entry.field);
    }
    if (!found) return false;
  }
  return true;
}
static_assert(everyHexFieldHasAColumn(),
              "every hex field goes into a maphex column");

// Every column of the table is read into a member of its own of Row, and Row
// has no other member.
template <typename Row, typename Column, size_t n>
constexpr bool readIntoMembersOfTheirOwn(const Column (&columns)[n]) {
  size_t read = 0;
  for (size_t i = 0; i < n; ++i) {
    if (columns[i].readAs == nullptr) continue;
    ++read;
    for (size_t j = 0; j < i; ++j) {
      if (columns[j].readAs == columns[i].readAs) return false;
    }
  }
  return sizeof(Row) == read * sizeof(std::string);
}
static_assert(readIntoMembersOfTheirOwn<MapHexRow>(kMapHexColumns),
              "one MapHexRow member for each maphex column");
static_assert(readIntoMembersOfTheirOwn<MapDescriptionRow>(
                  kMapDescriptionColumns),
              "one MapDescriptionRow member for each column read");

// The tables' CREATE statements.
std::string createMapHexStatement();
std::string createMapDescriptionStatement();

// A database name as one quoted identifier: `name`, backticks doubled.
std::string quoteIdentifier(const std::string& name);

// The hex field array that a kHexField column takes its value from.
const FieldTexts& hexFieldArray(const HexTable& hexes, HexField field);

#endif  // ZELKOR_WEBMAP_WEBMAP_TABLES_H_
