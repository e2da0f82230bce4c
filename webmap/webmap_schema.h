// The webmap database: its two tables, and the preparation that decides
// whether an existing webmap can be updated in place (its maphex table holds
// exactly one row per hex and its mapdescription table exactly one row) or
// must be dropped and created anew.
#ifndef ZELKOR_WEBMAP_WEBMAP_SCHEMA_H_
#define ZELKOR_WEBMAP_WEBMAP_SCHEMA_H_

#include <cstdint>
#include <string>

#include "webmap/webmap_connection.h"

extern const char kCreateMapHexTable[];
extern const char kCreateMapDescriptionTable[];

// The server's own database, selected for creating and dropping the webmap.
constexpr char kServerDatabase[] = "mysql";

// The database name as one quoted identifier: `name`, backticks doubled.
std::string quoteIdentifier(const std::string& name);

// Creates the webmap database and its two tables. Returns true when CREATE
// DATABASE succeeded; false (after "Info:   Found webmap database.
// Updating...") when it failed, which is the normal outcome for an existing
// database and is not tallied as a failure.
bool createWebmapDatabase(WebmapRun& run);

// Drops the webmap database. Returns false, after "Fatal:  Was unable to
// drop the database!" and tallying the failure, when the server refused.
bool dropWebmapDatabase(WebmapRun& run);

// Reads a count text as the standard text-to-int conversion does: leading
// white space, one optional sign, digits; no digits reads as 0.
int64_t countFromText(const std::string& text);

// Makes sure the webmap database exists and matches a map of hexCount hexes
// (0 or more); returns databaseCreated: true when the rows must be inserted,
// false when they are to be updated in place.
bool prepareWebmapDatabase(WebmapRun& run, int32_t hexCount);

#endif  // ZELKOR_WEBMAP_WEBMAP_SCHEMA_H_
