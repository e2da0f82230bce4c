// The preparation of the webmap database before any row is written: it
// decides whether an existing webmap can be updated in place (its maphex
// table holds exactly one row per hex and its mapdescription table exactly
// one row) or must be dropped and created anew.
#ifndef ZELKOR_WEBMAP_WEBMAP_PREPARATION_H_
#define ZELKOR_WEBMAP_WEBMAP_PREPARATION_H_

#include <cstdint>
#include <string>

#include "webmap/webmap_run.h"

// The most connections a run opens besides one per hex: the create
// attempt, the validity look-ups, the drop guard's look-up, the drop, the
// second create with its two tables, the map description row and the
// deletion of it after failures.
constexpr int32_t kMostCheckConnections = 14;

// Creates the webmap database and its two tables. Gives true when CREATE
// DATABASE succeeded; false (after "Info:   Found webmap database.
// Updating...") when it failed, which is the normal outcome for an existing
// database and is not tallied as a failure.
WebmapOutcome<bool> createWebmapDatabase(WebmapRun& run);

// Reads a count text as the standard text-to-int conversion does: leading
// white space, one optional sign, digits; no digits reads as 0.
int64_t countFromText(const std::string& text);

// The look-up that makes sure that maphex holds the rows with IDs 0 ...
// hexCount - 1: the count of rows with an ID in that range.
std::string countHexIdsStatement(int32_t hexCount);

// Makes sure the webmap database exists and matches a map of hexCount hexes
// (0 or more): maphex holds exactly the rows with IDs 0 ... hexCount - 1 and
// mapdescription exactly one row. Gives databaseCreated: true when the rows
// must be inserted, false when they are to be updated in place. Fails with
// NotAWebmapDatabase when a rebuild would drop a database that holds more
// than the webmap.
WebmapOutcome<bool> prepareWebmapDatabase(WebmapRun& run, int32_t hexCount);

// Deletes the map description row, so that the next run's validity test
// rejects the webmap and rebuilds it: for a run whose statements failed,
// which may have left rows that UPDATEs can never mend.
WebmapOutcome<Done> markWebmapForRebuild(WebmapRun& run);

#endif  // ZELKOR_WEBMAP_WEBMAP_PREPARATION_H_
