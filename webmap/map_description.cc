#include "webmap/map_description.h"

#include "webmap/webmap_tables.h"

namespace {

// The text a mapdescription column gets; nullptr for one never written.
const char* valueFor(const MapDescriptionColumn& column,
                     const std::string& rows, const std::string& columns) {
  switch (column.value) {
    case ColumnValue::kLeftForWebPages:
      return nullptr;
    case ColumnValue::kColumns:
      return columns.c_str();
    case ColumnValue::kRows:
      return rows.c_str();
    default:
      return column.constant;
  }
}

}  // namespace

std::string mapDescriptionInsertStatement(int32_t rows, int32_t columns) {
  const std::string r = std::to_string(rows);
  const std::string c = std::to_string(columns);
  std::string names;
  std::string values;
  for (const MapDescriptionColumn& column : kMapDescriptionColumns) {
    const char* value = valueFor(column, r, c);
    if (value == nullptr) continue;
    names += (names.empty() ? "" : ", ") + std::string(column.name);
    values += (values.empty() ? "'" : ", '") + std::string(value) + "'";
  }
  return std::string("INSERT INTO ") + kMapDescriptionTable + "(" + names +
         ") VALUES(" + values + ");";
}

std::string mapDescriptionUpdateStatement(int32_t rows, int32_t columns) {
  const std::string r = std::to_string(rows);
  const std::string c = std::to_string(columns);
  std::string set;
  std::string where;
  for (const MapDescriptionColumn& column : kMapDescriptionColumns) {
    const char* value = valueFor(column, r, c);
    if (value == nullptr) continue;
    const std::string assignment =
        std::string(column.name) + "='" + value + "'";
    if (column.value == ColumnValue::kRowId) {
      where = assignment;
    } else {
      set += (set.empty() ? "" : ", ") + assignment;
    }
  }
  return std::string("UPDATE ") + kMapDescriptionTable + " SET " + set +
         " WHERE " + where + ";";
}

WebmapOutcome<Done> writeMapDescription(WebmapRun& run, int32_t rows,
                                        int32_t columns, bool databaseCreated) {
  const WebmapOutcome<Written> written =
      databaseCreated
          ? runWebmapStatement(run, mapDescriptionInsertStatement(rows, columns))
          : runWebmapStatement(run, mapDescriptionUpdateStatement(rows, columns),
                               MustMatch::kARow);
  if (!written.ok()) return written.passOn<Done>();
  // A row that was not written was reported and tallied there.
  return Done{};
}
