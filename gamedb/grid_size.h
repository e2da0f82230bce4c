// The grid size of the map, read from the map description object.
#ifndef ZELKOR_GAMEDB_GRID_SIZE_H_
#define ZELKOR_GAMEDB_GRID_SIZE_H_

#include <cstdint>

// Whether the rows and columns bytes of a map description at position lie
// inside a buffer of length bytes.
bool gridSizeInBuffer(int32_t position, int32_t length);

// The byte position of the rows byte (the furthest one read) of a map
// description at position.
int32_t rowsBytePosition(int32_t position);

// Rows and columns of a map description at position; gridSizeInBuffer must
// hold.
int32_t readRows(const uint8_t* bytes, int32_t position);
int32_t readColumns(const uint8_t* bytes, int32_t position);

#endif  // ZELKOR_GAMEDB_GRID_SIZE_H_
