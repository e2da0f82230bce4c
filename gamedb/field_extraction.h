// Field extraction: one pass over all hexes for one field, storing the byte
// tokens of the field's bytes (joined least significant byte first) as the
// hex's text. Where each field lies is in gamedb/object_layout.h.
#ifndef ZELKOR_GAMEDB_FIELD_EXTRACTION_H_
#define ZELKOR_GAMEDB_FIELD_EXTRACTION_H_

#include <cstdint>
#include <vector>

#include "gamedb/hex_table.h"
#include "gamedb/object_layout.h"

// Index of the first position whose hex object runs past the end of a buffer
// of length bytes (its fields need kHexObjectExtent bytes), or -1 when all
// fit.
int32_t firstHexObjectPastEnd(const std::vector<int32_t>& positions,
                              int32_t length);

// Sets field[i] to the tokens of the bytes at positions[i] + where.offset,
// for every position; field must have as many entries. Every hex object
// must fit in the buffer (firstHexObjectPastEnd).
void extractField(const uint8_t* bytes, const std::vector<int32_t>& positions,
                  FieldLocation where, FieldTexts& field);

#endif  // ZELKOR_GAMEDB_FIELD_EXTRACTION_H_
