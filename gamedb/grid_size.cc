#include "gamedb/grid_size.h"

#include "gamedb/byte_token.h"
#include "gamedb/object_layout.h"

namespace {

// One byte as a signed 8-bit value (-128 ... 127). Every byte the tool looks
// at goes through its byte token, and the grid size is no exception: the
// round trip byte -> token -> number is exactly a signed read of the byte
// (byte_token_test checks it for all 256 bytes), kept so that one codec
// decides what every byte means.
int32_t readSignedByte(const uint8_t* bytes, int32_t position) {
  return tokenToByte(byteToToken(bytes[position]));
}

}  // namespace

int32_t rowsBytePosition(int32_t position) { return position + kRowsOffset; }

bool gridSizeInBuffer(int32_t position, int32_t length) {
  return position >= 0 && rowsBytePosition(position) < length;
}

int32_t readRows(const uint8_t* bytes, int32_t position) {
  return readSignedByte(bytes, position + kRowsOffset);
}

int32_t readColumns(const uint8_t* bytes, int32_t position) {
  return readSignedByte(bytes, position + kColumnsOffset);
}
