#include "webmap/webmap_reader.h"

namespace {

// The columns the reader asks for, in the order it asks: those the tool
// writes, then those it leaves for web pages.
template <typename Column, size_t n>
std::vector<const Column*> columnsRead(const Column (&columns)[n]) {
  std::vector<const Column*> read;
  for (bool leftForWebPages : {false, true}) {
    for (const Column& column : columns) {
      if (column.readAs != nullptr &&
          (column.value == ColumnValue::kLeftForWebPages) == leftForWebPages) {
        read.push_back(&column);
      }
    }
  }
  return read;
}

template <typename Column>
std::string selectStatement(const std::vector<const Column*>& columns,
                            const char* table) {
  std::string s = "SELECT ";
  for (size_t i = 0; i < columns.size(); ++i) {
    s += (i > 0 ? ", " : "") + std::string(columns[i]->name);
  }
  return s + " FROM " + table + " ORDER BY ID";
}

template <typename Row, typename Column>
std::vector<Row> rowsOf(const Rows& read,
                        const std::vector<const Column*>& columns) {
  std::vector<Row> rows;
  rows.reserve(read.size());
  for (const std::vector<std::string>& r : read) {
    Row& row = rows.emplace_back();
    for (size_t i = 0; i < columns.size(); ++i) {
      row.*(columns[i]->readAs) = r.at(i);
    }
  }
  return rows;
}

}  // namespace

const std::vector<const MapHexColumn*>& mapHexColumnsRead() {
  static const auto columns = columnsRead(kMapHexColumns);
  return columns;
}

Outcome<WebmapContent, StatementResult> readWebmap(
    const WebmapConnectionValues& values) {
  using Read = Outcome<WebmapContent, StatementResult>;
  static const auto kDescriptionColumns = columnsRead(kMapDescriptionColumns);
  const auto& kHexColumns = mapHexColumnsRead();
  StatementResult descriptions =
      runStatement(values, Selects::kWebmapDatabase, Returns::kRows,
                   selectStatement(kDescriptionColumns, kMapDescriptionTable));
  if (!descriptions.succeeded()) return Read::failed(descriptions);
  StatementResult hexes =
      runStatement(values, Selects::kWebmapDatabase, Returns::kRows,
                   selectStatement(kHexColumns, kMapHexTable));
  if (!hexes.succeeded()) return Read::failed(hexes);
  WebmapContent read;
  read.descriptions =
      rowsOf<MapDescriptionRow>(descriptions.rows, kDescriptionColumns);
  read.hexes = rowsOf<MapHexRow>(hexes.rows, kHexColumns);
  return read;
}
