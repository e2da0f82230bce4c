// Finding the game objects that the tool reads: the map description and the
// hex objects, by their type-name texts, in one pass over the game database.
#ifndef ZELKOR_GAMEDB_OBJECT_SCAN_H_
#define ZELKOR_GAMEDB_OBJECT_SCAN_H_

#include <cstdint>
#include <vector>

struct GameObjectPositions {
  // Object position of the last map description in the file, or 0 when there
  // is none (its type-name text must start at position 16 or later).
  int32_t mapDescription = 0;
  // Object positions of all hex objects in file order (type-name texts from
  // position 15 on).
  std::vector<int32_t> hexObjects;
};

// Only whole type-name texts inside the buffer count; letter case matters.
GameObjectPositions findGameObjects(const uint8_t* bytes, int32_t length);

#endif  // ZELKOR_GAMEDB_OBJECT_SCAN_H_
