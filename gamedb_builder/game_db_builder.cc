#include "gamedb_builder/game_db_builder.h"

#include "gamedb/hex_table.h"
#include "gamedb/object_layout.h"

GameDbBuilder::GameDbBuilder(size_t size, uint8_t fill)
    : bytes_(size, static_cast<char>(fill)), fill_(fill) {}

void GameDbBuilder::ensure(size_t end) {
  if (bytes_.size() < end) bytes_.resize(end, static_cast<char>(fill_));
}

GameDbBuilder& GameDbBuilder::resize(size_t size) {
  bytes_.resize(size, static_cast<char>(fill_));
  return *this;
}

GameDbBuilder& GameDbBuilder::bytesAt(size_t position,
                                      const std::string& bytes) {
  ensure(position + bytes.size());
  bytes_.replace(position, bytes.size(), bytes);
  return *this;
}

GameDbBuilder& GameDbBuilder::byteAt(size_t position, uint8_t value) {
  ensure(position + 1);
  bytes_[position] = static_cast<char>(value);
  return *this;
}

GameDbBuilder& GameDbBuilder::mapDescriptionAt(size_t typeNameStart,
                                               uint8_t rows, uint8_t columns) {
  bytesAt(typeNameStart, kMapDescriptionTypeName);
  const size_t object = typeNameStart - kTypeNameOffset;
  byteAt(object + kRowsOffset, rows);
  byteAt(object + kColumnsOffset, columns);
  return *this;
}

GameDbBuilder& GameDbBuilder::hexAt(size_t typeNameStart, const HexValues& f) {
  bytesAt(typeNameStart, kHexTypeName);
  const size_t object = typeNameStart - kTypeNameOffset;
  // Least significant byte first, whatever the field's width.
  const auto put = [&](FieldLocation where, uint32_t value) {
    for (int32_t b = 0; b < where.byteCount; ++b) {
      byteAt(object + where.offset + b, (value >> (8 * b)) & 0xFF);
    }
  };
  for (const HexFieldEntry& field : kHexFields) {
    put(field.location, f.value(field.field));
  }
  return *this;
}

uint32_t HexValues::value(HexField field) const {
  switch (field) {
    case HexField::kX:
      return x;
    case HexField::kY:
      return y;
    case HexField::kTerrain:
      return terrain;
    case HexField::kStarbase:
      return starbase;
    case HexField::kPlanet:
      return planet;
    case HexField::kPoliticalControl:
      return politicalControl;
    case HexField::kDefenseValue:
      return defenseValue;
    case HexField::kEconomy:
      return economy;
  }
  return 0;
}

GameDbBuilder plainGameDb(int rows, int columns) {
  return gameDbWithMap(rows, columns,
                       [columns](int i) { return plainHex(i, columns); });
}

HexValues plainHex(int i, int columns) {
  static const uint32_t kTerrains[] = {0x40, 0x200, 0x1000, 0x2000, 0x4000};
  static const uint8_t kStarbases[] = {0, 1, 0, 2, 0, 0, 4, 0, 8, 0x10};
  HexValues f;
  f.x = static_cast<uint8_t>(i % columns);
  f.y = static_cast<uint8_t>(i / columns);
  f.terrain = kTerrains[i % 5];
  f.starbase = kStarbases[i % 10];
  f.planet = static_cast<uint16_t>(i % 7 == 0 ? 1u << (i % 12) : 0);
  f.politicalControl = static_cast<uint8_t>(i % 9);
  f.defenseValue = static_cast<uint8_t>(i % 11);
  f.economy = static_cast<uint8_t>(i % 6);
  return f;
}
