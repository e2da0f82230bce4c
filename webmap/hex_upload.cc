#include "webmap/hex_upload.h"

namespace {

// The maphex columns that carry a hex field, in the order both statements
// name them, each with the field its value comes from. The Base and Current
// columns of a pair take the same value. The webmap has no column of its own
// for the defense value: it has always gone into the VictoryPoints columns,
// where web pages read it.
const struct {
  const char* name;
  FieldArray HexTable::*field;
} kMapHexColumns[] = {
    {"X", &HexTable::x},
    {"Y", &HexTable::y},
    {"PoliticalControl", &HexTable::politicalControl},
    {"TerrainType", &HexTable::terrain},
    {"PlanetType", &HexTable::planet},
    {"StarbaseType", &HexTable::starbase},
    {"BaseEconomicPoints", &HexTable::economy},
    {"CurrentEconomicPoints", &HexTable::economy},
    {"BaseVictoryPoints", &HexTable::defenseValue},
    {"CurrentVictoryPoints", &HexTable::defenseValue},
};

// "INSERT INTO maphex(ID, X, ..., CurrentSpeedPoints) VALUES( "
std::string insertHead() {
  std::string head = "INSERT INTO maphex(ID, ";
  for (const auto& column : kMapHexColumns) {
    head += column.name;
    head += ", ";
  }
  return head + "BaseSpeedPoints, CurrentSpeedPoints) VALUES( ";
}

}  // namespace

std::string hexInsertStatement(const HexTable& hexes, int32_t i) {
  static const std::string kHead = insertHead();
  std::string s = kHead + std::to_string(i) + ", ";
  for (const auto& column : kMapHexColumns) {
    s += (hexes.*column.field)[i];
    s += ", ";
  }
  // The speed points are always 1.
  return s + "1 , 1 );";
}

std::string hexUpdateStatement(const HexTable& hexes, int32_t i) {
  std::string s = "UPDATE maphex SET ";
  for (const auto& column : kMapHexColumns) {
    s += column.name;
    s += "='";
    s += (hexes.*column.field)[i];
    s += "', ";
  }
  // No blank before WHERE: the closing quote ends the value.
  return s + "BaseSpeedPoints='1', CurrentSpeedPoints='1'WHERE ID='" +
         std::to_string(i) + "';";
}

void uploadHexRows(WebmapRun& run, const HexTable& hexes, bool databaseCreated,
                   UploadProgress* progress) {
  const auto total = static_cast<int32_t>(hexes.positions.size());
  for (int32_t i = 0; i < total; ++i) {
    // An UPDATE that finds no row with the hex's ID has not written the
    // hex either.
    if (databaseCreated) {
      runWebmapStatement(run, hexInsertStatement(hexes, i));
    } else {
      runWebmapStatement(run, hexUpdateStatement(hexes, i), MustMatch::kARow);
    }
    if (progress != nullptr) progress->update(i + 1, total);
  }
}
