#include "gamedb/hex_table.h"

#include <algorithm>

HexTable createHexTable(int32_t hexCount) {
  const size_t size = hexCount > 0 ? static_cast<size_t>(hexCount) : 0;
  HexTable table;
  table.positions.assign(size, 0);
  for (FieldArray* field :
       {&table.x, &table.y, &table.terrain, &table.starbase, &table.planet,
        &table.politicalControl, &table.defenseValue, &table.economy}) {
    field->assign(size, std::string());
  }
  return table;
}

int32_t findHexObjects(const GameObjectPositions& found, int32_t hexCount,
                       std::vector<int32_t>& positions) {
  const size_t room = std::min(
      positions.size(), hexCount > 0 ? static_cast<size_t>(hexCount) : 0);
  const size_t used = std::min(room, found.hexObjects.size());
  std::copy_n(found.hexObjects.begin(), used, positions.begin());
  return found.hexObjectCount;
}
