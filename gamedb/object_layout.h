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
// The earliest type-name start that the scans consider.
constexpr int32_t kFirstMapDescriptionTypeName = 16;
constexpr int32_t kFirstHexTypeName = 15;

constexpr int32_t kColumnsOffset = 48;
constexpr int32_t kRowsOffset = 52;

constexpr int32_t kXOffset = 52;
constexpr int32_t kYOffset = 56;
constexpr int32_t kPoliticalControlOffset = 68;
constexpr int32_t kTerrainOffset = 80;
constexpr int32_t kTerrainBytes = 4;
constexpr int32_t kPlanetOffset = 84;
constexpr int32_t kPlanetBytes = 2;
constexpr int32_t kStarbaseOffset = 88;
constexpr int32_t kEconomyOffset = 96;
constexpr int32_t kDefenseValueOffset = 128;
// Bytes a hex object needs from its position on: up to the defense value.
constexpr int32_t kHexObjectExtent = kDefenseValueOffset + 1;

#endif  // ZELKOR_GAMEDB_OBJECT_LAYOUT_H_
