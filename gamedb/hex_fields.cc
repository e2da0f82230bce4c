#include "gamedb/hex_fields.h"

#include "gamedb/byte_token.h"
#include "gamedb/object_layout.h"

namespace {

FieldArray& extract(const uint8_t* bytes, int32_t hexCount,
                    const std::vector<int32_t>& positions, int32_t offset,
                    int32_t byteCount, FieldArray& field) {
  for (int32_t i = 0; i < hexCount; ++i) {
    const uint8_t* first = bytes + positions[i] + offset;
    std::string text;
    text.reserve(3 * byteCount);
    for (int32_t b = 0; b < byteCount; ++b) text += byteToToken(first[b]);
    field[i] = std::move(text);
  }
  return field;
}

}  // namespace

int32_t firstHexObjectPastEnd(const std::vector<int32_t>& positions,
                              int32_t hexCount, int32_t length) {
  for (int32_t i = 0; i < hexCount; ++i) {
    if (positions[i] < 0 ||
        static_cast<int64_t>(positions[i]) + kHexObjectExtent > length) {
      return i;
    }
  }
  return -1;
}

FieldArray& getXCoordinates(const uint8_t* bytes, int32_t hexCount,
                            const std::vector<int32_t>& positions,
                            FieldArray& field) {
  return extract(bytes, hexCount, positions, kXOffset, 1, field);
}

FieldArray& getYCoordinates(const uint8_t* bytes, int32_t hexCount,
                            const std::vector<int32_t>& positions,
                            FieldArray& field) {
  return extract(bytes, hexCount, positions, kYOffset, 1, field);
}

FieldArray& getTerrain(const uint8_t* bytes, int32_t hexCount,
                       const std::vector<int32_t>& positions,
                       FieldArray& field) {
  return extract(bytes, hexCount, positions, kTerrainOffset, kTerrainBytes,
                 field);
}

FieldArray& getStarbases(const uint8_t* bytes, int32_t hexCount,
                         const std::vector<int32_t>& positions,
                         FieldArray& field) {
  return extract(bytes, hexCount, positions, kStarbaseOffset, 1, field);
}

FieldArray& getPlanets(const uint8_t* bytes, int32_t hexCount,
                       const std::vector<int32_t>& positions,
                       FieldArray& field) {
  return extract(bytes, hexCount, positions, kPlanetOffset, kPlanetBytes,
                 field);
}

FieldArray& getPoliticalControl(const uint8_t* bytes, int32_t hexCount,
                                const std::vector<int32_t>& positions,
                                FieldArray& field) {
  return extract(bytes, hexCount, positions, kPoliticalControlOffset, 1, field);
}

FieldArray& getDefenseValues(const uint8_t* bytes, int32_t hexCount,
                             const std::vector<int32_t>& positions,
                             FieldArray& field) {
  return extract(bytes, hexCount, positions, kDefenseValueOffset, 1, field);
}

FieldArray& getEconomy(const uint8_t* bytes, int32_t hexCount,
                       const std::vector<int32_t>& positions,
                       FieldArray& field) {
  return extract(bytes, hexCount, positions, kEconomyOffset, 1, field);
}
