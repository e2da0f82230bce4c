// The webmap database: its two tables, and the preparation that decides
// whether an existing webmap can be updated in place (its maphex table holds
// exactly one row per hex and its mapdescription table exactly one row) or
// must be dropped and created anew.
#ifndef ZELKOR_WEBMAP_WEBMAP_SCHEMA_H_
#define ZELKOR_WEBMAP_WEBMAP_SCHEMA_H_

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "webmap/webmap_run.h"

// Thrown instead of dropping a database that holds more than the webmap's
// two tables, or whose content could not be looked up: nothing has been
// dropped, and nothing must be written.
class NotAWebmapDatabase : public std::runtime_error {
 public:
  NotAWebmapDatabase(std::string database, std::vector<std::string> others,
                     std::string lookupError);
  const std::string& database() const { return database_; }
  // The objects that are not the webmap's, as "table 'posts'", "view 'v'",
  // ...; empty when the look-up failed.
  const std::vector<std::string>& others() const { return others_; }
  // The server's error when the look-up failed, else empty.
  const std::string& lookupError() const { return lookupError_; }

 private:
  std::string database_;
  std::vector<std::string> others_;
  std::string lookupError_;
};

// The database name as one quoted identifier: `name`, backticks doubled.
std::string quoteIdentifier(const std::string& name);

// Creates the webmap database and its two tables. Returns true when CREATE
// DATABASE succeeded; false (after "Info:   Found webmap database.
// Updating...") when it failed, which is the normal outcome for an existing
// database and is not tallied as a failure.
bool createWebmapDatabase(WebmapRun& run);

// Drops the webmap database, once a look-up has shown that it holds nothing
// but the webmap's own tables (in any letter case) or nothing at all; throws
// NotAWebmapDatabase, having dropped nothing, when it holds more or the
// look-up fails. Returns false, after "Fatal:  Was unable to drop the
// database!" and tallying the failure, when the server refused the drop.
bool dropWebmapDatabase(WebmapRun& run);

// Reads a count text as the standard text-to-int conversion does: leading
// white space, one optional sign, digits; no digits reads as 0.
int64_t countFromText(const std::string& text);

// The look-up that makes sure that maphex holds the rows with IDs 0 ...
// hexCount - 1: the count of rows with an ID in that range.
std::string countHexIdsStatement(int32_t hexCount);

// Makes sure the webmap database exists and matches a map of hexCount hexes
// (0 or more): maphex holds exactly the rows with IDs 0 ... hexCount - 1 and
// mapdescription exactly one row. Returns databaseCreated: true when the rows
// must be inserted, false when they are to be updated in place. Throws
// NotAWebmapDatabase as dropWebmapDatabase does.
bool prepareWebmapDatabase(WebmapRun& run, int32_t hexCount);

// Deletes the map description row, so that the next run's validity test
// rejects the webmap and rebuilds it: for a run whose statements failed,
// which may have left rows that UPDATEs can never mend.
void markWebmapForRebuild(WebmapRun& run);

#endif  // ZELKOR_WEBMAP_WEBMAP_SCHEMA_H_
