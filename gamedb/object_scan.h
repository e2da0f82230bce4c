// Finding the game objects that the tool reads: the map description and the
// hex objects, by their type-name texts, in one pass over the game database.
#ifndef ZELKOR_GAMEDB_OBJECT_SCAN_H_
#define ZELKOR_GAMEDB_OBJECT_SCAN_H_

#include <cstdint>
#include <vector>

// The most hexes a map can have: rows and columns are signed bytes, so at
// most 127 each. The scan keeps no more hex object positions than this,
// however many the file holds, so that its memory stays bounded.
constexpr int32_t kMostHexesOfAMap = 127 * 127;

struct GameObjectPositions {
  // Object position of the last map description in the file, or 0 when there
  // is none (its type-name text must start at position 16 or later).
  int32_t mapDescription = 0;
  // Object positions of the first kMostHexesOfAMap hex objects in file order
  // (type-name texts from position 15 on).
  std::vector<int32_t> hexObjects;
  // How many hex objects the file holds in all.
  int32_t hexObjectCount = 0;
};

// Only whole type-name texts inside the buffer count; letter case matters.
GameObjectPositions findGameObjects(const uint8_t* bytes, int32_t length);

// Fills positions (one entry per hex of the map) with the first hex objects
// found, in file order, and returns how many hex objects the file holds in
// all, which may be more or fewer than the map needs. Entries beyond the
// number found are left as they were.
int32_t findHexObjects(const GameObjectPositions& found,
                       std::vector<int32_t>& positions);

#endif  // ZELKOR_GAMEDB_OBJECT_SCAN_H_
