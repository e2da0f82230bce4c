// The guard before a rebuild drops the webmap database: a look-up of what
// the database holds, and a drop only when that is nothing but the webmap's
// two tables (in any letter case) or nothing at all. A database named by
// mistake (a forum's, say) is never dropped.
#ifndef ZELKOR_WEBMAP_DROP_GUARD_H_
#define ZELKOR_WEBMAP_DROP_GUARD_H_

#include "webmap/webmap_run.h"

// Drops the webmap database, once the look-up has shown that it holds
// nothing but the webmap's own tables or nothing at all; fails with
// NotAWebmapDatabase, having dropped nothing, when it holds more or the
// look-up fails. Gives false, after "Fatal:  Was unable to drop the
// database!" and tallying the failure, when the server refused the drop.
WebmapOutcome<bool> dropWebmapDatabase(WebmapRun& run);

#endif  // ZELKOR_WEBMAP_DROP_GUARD_H_
