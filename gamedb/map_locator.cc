#include "gamedb/map_locator.h"

#include "gamedb/byte_token.h"
#include "gamedb/object_layout.h"

namespace {

// One byte as a signed 8-bit value (-128 ... 127), through its byte token.
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
