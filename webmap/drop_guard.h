// The guard before a rebuild drops the webmap database: a look-up of what
// the database holds, and a drop only when that is nothing but the webmap's
// two tables (in any letter case) or nothing at all. A database named by
// mistake (a forum's, say) is never dropped.
#ifndef ZELKOR_WEBMAP_DROP_GUARD_H_
#define ZELKOR_WEBMAP_DROP_GUARD_H_

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

// Drops the webmap database, once the look-up has shown that it holds
// nothing but the webmap's own tables or nothing at all; throws
// NotAWebmapDatabase, having dropped nothing, when it holds more or the
// look-up fails. Returns false, after "Fatal:  Was unable to drop the
// database!" and tallying the failure, when the server refused the drop.
bool dropWebmapDatabase(WebmapRun& run);

#endif  // ZELKOR_WEBMAP_DROP_GUARD_H_
