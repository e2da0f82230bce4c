#include "webmap/map_description.h"

std::string mapDescriptionInsertStatement(int32_t rows, int32_t columns) {
  return "INSERT INTO mapdescription(ID, Width, Height, CorrectedBaseAIs) "
         "VALUES('777777', '" +
         std::to_string(columns) + "', '" + std::to_string(rows) + "', '1');";
}

std::string mapDescriptionUpdateStatement(int32_t rows, int32_t columns) {
  return "UPDATE mapdescription SET Width='" + std::to_string(columns) +
         "', Height='" + std::to_string(rows) +
         "', CorrectedBaseAIs='1' WHERE ID='777777';";
}

void writeMapDescription(WebmapRun& run, int32_t rows, int32_t columns,
                         bool databaseCreated) {
  if (databaseCreated) {
    runWebmapStatement(run, mapDescriptionInsertStatement(rows, columns));
  } else {
    runWebmapStatement(run, mapDescriptionUpdateStatement(rows, columns),
                       MustMatch::kARow);
  }
}
