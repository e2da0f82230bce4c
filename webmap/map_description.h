// The webmap's one map description row, ID 777777: the grid's width
// (columns) and height (rows).
#ifndef ZELKOR_WEBMAP_MAP_DESCRIPTION_H_
#define ZELKOR_WEBMAP_MAP_DESCRIPTION_H_

#include <cstdint>
#include <string>

#include "webmap/webmap_run.h"

std::string mapDescriptionInsertStatement(int32_t rows, int32_t columns);
std::string mapDescriptionUpdateStatement(int32_t rows, int32_t columns);

// Sends the INSERT (databaseCreated) or the UPDATE of the row; a failure is
// reported and tallied.
WebmapOutcome<Done> writeMapDescription(WebmapRun& run, int32_t rows,
                                        int32_t columns, bool databaseCreated);

#endif  // ZELKOR_WEBMAP_MAP_DESCRIPTION_H_
