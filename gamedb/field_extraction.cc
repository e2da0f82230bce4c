#include "gamedb/field_extraction.h"

#include "gamedb/byte_token.h"

int32_t firstHexObjectPastEnd(const std::vector<int32_t>& positions,
                              int32_t length) {
  for (size_t i = 0; i < positions.size(); ++i) {
    if (positions[i] < 0 ||
        static_cast<int64_t>(positions[i]) + kHexObjectExtent > length) {
      return static_cast<int32_t>(i);
    }
  }
  return -1;
}

void extractField(const uint8_t* bytes, const std::vector<int32_t>& positions,
                  FieldLocation where, FieldTexts& field) {
  for (size_t i = 0; i < positions.size(); ++i) {
    const uint8_t* first = bytes + positions[i] + where.offset;
    std::string text;
    text.reserve(3 * where.byteCount);
    for (int32_t b = 0; b < where.byteCount; ++b) text += byteToToken(first[b]);
    field[i] = std::move(text);
  }
}
