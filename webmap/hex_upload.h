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

// Sends the statement of every hex 0 ... hexCount - 1 in order. A failed
// statement is reported and tallied, and the upload goes on. When standard
// error is a terminal, a progress line is shown there and erased at the end.
void uploadHexRows(WebmapRun& run, const HexTable& hexes, int32_t hexCount,
                   bool databaseCreated);

#endif  // ZELKOR_WEBMAP_HEX_UPLOAD_H_
