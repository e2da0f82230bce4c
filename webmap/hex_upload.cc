#include "webmap/hex_upload.h"

#include <algorithm>
#include <vector>

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
  // An UPDATE that finds no row with the hex's ID has not written the hex
  // either.
  const MustMatch mustMatch =
      databaseCreated ? MustMatch::kNothing : MustMatch::kARow;
  const auto statementFor = [&](int32_t i) {
    return databaseCreated ? hexInsertStatement(hexes, i)
                           : hexUpdateStatement(hexes, i);
  };
  if (!run.singleConnection()) {
    for (int32_t i = 0; i < total; ++i) {
      const WebmapOutcome<Written> written =
          runWebmapStatement(run, statementFor(i), mustMatch);
      if (!written.ok()) return written.passOn<Done>();
      if (written.value() == Written::kYes) run.countHexWritten();
      if (progress != nullptr) progress->update(i + 1, total);
    }
    return Done{};
  }
  // One connection: the same statements, a batch a round trip.
  for (int32_t first = 0; first < total;
       first += static_cast<int32_t>(kBatchStatements)) {
    const int32_t end =
        std::min(total, first + static_cast<int32_t>(kBatchStatements));
    std::vector<std::string> statements;
    for (int32_t i = first; i < end; ++i) statements.push_back(statementFor(i));
    const WebmapOutcome<std::vector<StatementResult>> sent =
        run.sendBatches(statements);
    if (!sent.ok()) return sent.passOn<Done>();
    for (size_t k = 0; k < statements.size(); ++k) {
      if (noteWebmapStatement(run, statements[k], sent.value()[k], mustMatch) ==
          Written::kYes) {
        run.countHexWritten();
      }
    }
    if (progress != nullptr) progress->update(end, total);
  }
  return Done{};
}
