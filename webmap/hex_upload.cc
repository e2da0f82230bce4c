#include "webmap/hex_upload.h"

#include "webmap/webmap_tables.h"

namespace {

// The text a maphex column gets for hex i.
std::string valueFor(const MapHexColumn& column, const HexTable& hexes,
                     int32_t i) {
  switch (column.value) {
    case ColumnValue::kRowId:
      return std::to_string(i);
    case ColumnValue::kHexField:
      return hexFieldArray(hexes, column.field)[i];
    default:
      return column.constant;
  }
}

bool written(const MapHexColumn& column) {
  return column.value != ColumnValue::kLeftForWebPages;
}

// "INSERT INTO maphex(ID, X, ..., CurrentSpeedPoints) VALUES( "
std::string insertHead() {
  std::string head = std::string("INSERT INTO ") + kMapHexTable + "(";
  bool first = true;
  for (const MapHexColumn& column : kMapHexColumns) {
    if (!written(column)) continue;
    head += (first ? "" : ", ") + std::string(column.name);
    first = false;
  }
  return head + ") VALUES( ";
}

}  // namespace

std::string hexInsertStatement(const HexTable& hexes, int32_t i) {
  static const std::string kHead = insertHead();
  std::string s = kHead;
  bool first = true;
  for (const MapHexColumn& column : kMapHexColumns) {
    if (!written(column)) continue;
    s += first ? "" : ", ";
    s += valueFor(column, hexes, i);
    // A constant has always been followed by a blank here: "1 , 1 );".
    if (column.value == ColumnValue::kConstant) s += " ";
    first = false;
  }
  return s + ");";
}

std::string hexUpdateStatement(const HexTable& hexes, int32_t i) {
  std::string s = std::string("UPDATE ") + kMapHexTable + " SET ";
  bool first = true;
  for (const MapHexColumn& column : kMapHexColumns) {
    if (!written(column) || column.value == ColumnValue::kRowId) continue;
    s += first ? "" : ", ";
    s += std::string(column.name) + "='" + valueFor(column, hexes, i) + "'";
    first = false;
  }
  // No blank before WHERE: the closing quote ends the value.
  return s + "WHERE ID='" + std::to_string(i) + "';";
}

WebmapOutcome<Done> uploadHexRows(WebmapRun& run, const HexTable& hexes,
                                  bool databaseCreated,
                                  UploadProgress* progress) {
  const auto total = static_cast<int32_t>(hexes.positions.size());
  run.beginUpload(total, databaseCreated);
  for (int32_t i = 0; i < total; ++i) {
    // An UPDATE that finds no row with the hex's ID has not written the
    // hex either.
    const WebmapOutcome<Written> written =
        databaseCreated ? runWebmapStatement(run, hexInsertStatement(hexes, i))
                        : runWebmapStatement(run, hexUpdateStatement(hexes, i),
                                             MustMatch::kARow);
    if (!written.ok()) return written.passOn<Done>();
    if (written.value() == Written::kYes) run.countHexWritten();
    if (progress != nullptr) progress->update(i + 1, total);
  }
  return Done{};
}
