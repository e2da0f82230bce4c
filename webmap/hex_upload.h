// Writing the hex table into the webmap's maphex table, one statement and one
// connection per hex: INSERT when the database was just created, UPDATE by
// ID (the hex number) otherwise.
#ifndef ZELKOR_WEBMAP_HEX_UPLOAD_H_
#define ZELKOR_WEBMAP_HEX_UPLOAD_H_

#include <cstdint>
#include <string>

#include "gamedb/hex_table.h"
#include "webmap/webmap_run.h"

// The statements for hex i; the field texts are the translated decimal texts
// and go in verbatim.
std::string hexInsertStatement(const HexTable& hexes, int32_t i);
std::string hexUpdateStatement(const HexTable& hexes, int32_t i);

// Told, after each hex's statement, how many of how many hexes are done.
class UploadProgress {
 public:
  virtual ~UploadProgress() = default;
  virtual void update(int32_t done, int32_t total) = 0;
};

// Sends the statement of every hex of the table in order. A failed statement
// is reported and tallied, and the upload goes on. progress, when not null,
// hears of every hex.
WebmapOutcome<Done> uploadHexRows(WebmapRun& run, const HexTable& hexes,
                                  bool databaseCreated,
                                  UploadProgress* progress);

#endif  // ZELKOR_WEBMAP_HEX_UPLOAD_H_
