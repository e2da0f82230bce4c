// Field extraction: one pass over all hexes per field, each storing the byte
// tokens of the field's bytes (joined least significant byte first) as the
// hex's text. Offsets are in gamedb/object_layout.h.
//
// Every operation reads bytes[positions[i] + offset] for i < hexCount, so
// every position + kHexObjectExtent must lie within the buffer
// (firstHexObjectPastEnd). Each returns the field array it was given.
#ifndef ZELKOR_GAMEDB_HEX_FIELDS_H_
#define ZELKOR_GAMEDB_HEX_FIELDS_H_

#include <cstdint>
#include <vector>

#include "gamedb/hex_table.h"

// Index of the first of the first hexCount positions whose fields run past
// the end of a buffer of length bytes, or -1 when all fit.
int32_t firstHexObjectPastEnd(const std::vector<int32_t>& positions,
                              int32_t hexCount, int32_t length);

FieldArray& getXCoordinates(const uint8_t* bytes, int32_t hexCount,
                            const std::vector<int32_t>& positions,
                            FieldArray& field);
FieldArray& getYCoordinates(const uint8_t* bytes, int32_t hexCount,
                            const std::vector<int32_t>& positions,
                            FieldArray& field);
FieldArray& getTerrain(const uint8_t* bytes, int32_t hexCount,
                       const std::vector<int32_t>& positions,
                       FieldArray& field);
FieldArray& getStarbases(const uint8_t* bytes, int32_t hexCount,
                         const std::vector<int32_t>& positions,
                         FieldArray& field);
FieldArray& getPlanets(const uint8_t* bytes, int32_t hexCount,
                       const std::vector<int32_t>& positions,
                       FieldArray& field);
FieldArray& getPoliticalControl(const uint8_t* bytes, int32_t hexCount,
                                const std::vector<int32_t>& positions,
                                FieldArray& field);
FieldArray& getDefenseValues(const uint8_t* bytes, int32_t hexCount,
                             const std::vector<int32_t>& positions,
                             FieldArray& field);
FieldArray& getEconomy(const uint8_t* bytes, int32_t hexCount,
                       const std::vector<int32_t>& positions,
                       FieldArray& field);

#endif  // ZELKOR_GAMEDB_HEX_FIELDS_H_
