// Where the tool finds things in the game database. Objects are found by the
// decorated type-name text inside each serialised object ("?AV", the class
// name, "@@"); an object's position is 13 bytes before that text, and every
// field offset below counts from the object position.
//
// Map description object (tMetaMapDesc), one per file:
//   +48  columns   1 byte, signed
//   +52  rows      1 byte, signed
// Hex object (tMetaMapHex), one per hex, in file order:
//   +52  X                  1 byte
//   +56  Y                  1 byte
//   +68  political control  1 byte
//   +80  terrain            4 bytes, least significant first (+80 ... +83)
//   +84  planet             2 bytes, least significant first (+84, +85)
//   +88  starbase           1 byte
//   +96  economy            1 byte
//   +128 defense value      1 byte
// Bytes +86 and +87 (between planet and starbase) are not read.
#ifndef ZELKOR_GAMEDB_OBJECT_LAYOUT_H_
#define ZELKOR_GAMEDB_OBJECT_LAYOUT_H_

#include <cstdint>

constexpr char kMapDescriptionTypeName[] = "?AVtMetaMapDesc@@";
constexpr int32_t kMapDescriptionTypeNameLength =
    sizeof kMapDescriptionTypeName - 1;
constexpr char kHexTypeName[] = "?AVtMetaMapHex@@";
constexpr int32_t kHexTypeNameLength = sizeof kHexTypeName - 1;

// The type-name text starts this many bytes after the object position.
constexpr int32_t kTypeNameOffset = 13;
// The earliest type-name start that the scans consider: a map description's
// text from byte 16 on, a hex's from byte 15 on, as the map has always been
// read from the game's files (an object needs at least its 13 bytes before
// the text). A text that starts earlier is not taken, so stored files give
// the same map as ever.
constexpr int32_t kFirstMapDescriptionTypeName = 16;
constexpr int32_t kFirstHexTypeName = 15;

constexpr int32_t kColumnsOffset = 48;
constexpr int32_t kRowsOffset = 52;

// Where a hex field lies: its offset from the object position and how many
// bytes it takes.
struct FieldLocation {
  int32_t offset;
  int32_t byteCount;
};

constexpr FieldLocation kXField{52, 1};
constexpr FieldLocation kYField{56, 1};
constexpr FieldLocation kPoliticalControlField{68, 1};
constexpr FieldLocation kTerrainField{80, 4};
constexpr FieldLocation kPlanetField{84, 2};
constexpr FieldLocation kStarbaseField{88, 1};
constexpr FieldLocation kEconomyField{96, 1};
constexpr FieldLocation kDefenseValueField{128, 1};
// How many bytes a hex object needs from its position on is made from the
// table of the hex fields: kHexObjectExtent in gamedb/hex_table.h.

#endif  // ZELKOR_GAMEDB_OBJECT_LAYOUT_H_
