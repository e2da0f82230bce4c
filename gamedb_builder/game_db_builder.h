// Builds synthetic game database files for tests, benchmarks and the demo:
// type-name texts at chosen positions, the grid size and hex fields at their
// offsets (gamedb/object_layout.h), filler everywhere else.
#ifndef ZELKOR_GAMEDB_BUILDER_GAME_DB_BUILDER_H_
#define ZELKOR_GAMEDB_BUILDER_GAME_DB_BUILDER_H_

#include <cstdint>
#include <string>

#include "gamedb/hex_table.h"

// The raw field bytes of one hex object.
struct HexValues {
  uint8_t x = 0;
  uint8_t y = 0;
  uint32_t terrain = 0x1000;  // stored least significant byte first
  uint8_t starbase = 0;
  uint16_t planet = 0;  // stored least significant byte first
  uint8_t politicalControl = 0;
  uint8_t defenseValue = 0;
  uint8_t economy = 0;

  // The field's raw value.
  uint32_t value(HexField field) const;
};

class GameDbBuilder {
 public:
  // size bytes of fill; the file grows when something is put past its end.
  explicit GameDbBuilder(size_t size = 0, uint8_t fill = 0);

  // A map description object whose type-name text starts at typeNameStart.
  GameDbBuilder& mapDescriptionAt(size_t typeNameStart, uint8_t rows,
                                  uint8_t columns);
  // A hex object whose type-name text starts at typeNameStart.
  GameDbBuilder& hexAt(size_t typeNameStart, const HexValues& fields);
  GameDbBuilder& bytesAt(size_t position, const std::string& bytes);
  GameDbBuilder& byteAt(size_t position, uint8_t value);
  GameDbBuilder& resize(size_t size);

  const std::string& bytes() const { return bytes_; }
  size_t size() const { return bytes_.size(); }

 private:
  void ensure(size_t end);
  std::string bytes_;
  uint8_t fill_;
};

// Room taken by one hex object in gameDbWithMap's layout.
constexpr size_t kHexObjectStride = 160;
// Where gameDbWithMap puts the map description's type-name text.
constexpr size_t kMapDescriptionTypeNameStart = 64;
// Where gameDbWithMap puts the first hex object's type-name text.
constexpr size_t kFirstHexTypeNameStart = 256;

// A whole game database: the map description, then rows x columns hex
// objects every kHexObjectStride bytes, hex i getting fieldsOf(i).
template <typename FieldsOf>
GameDbBuilder gameDbWithMap(int rows, int columns, FieldsOf fieldsOf) {
  GameDbBuilder db;
  db.mapDescriptionAt(kMapDescriptionTypeNameStart, static_cast<uint8_t>(rows),
                      static_cast<uint8_t>(columns));
  for (int i = 0; i < rows * columns; ++i) {
    db.hexAt(kFirstHexTypeNameStart + kHexObjectStride * i, fieldsOf(i));
  }
  db.resize(kFirstHexTypeNameStart + kHexObjectStride * (rows * columns) + 16);
  return db;
}

// Hex i of a columns-wide grid: X = i % columns, Y = i / columns, and fields
// that vary from hex to hex.
HexValues plainHex(int i, int columns);

// A whole game database of rows x columns plain hexes.
GameDbBuilder plainGameDb(int rows, int columns);

#endif  // ZELKOR_GAMEDB_BUILDER_GAME_DB_BUILDER_H_
