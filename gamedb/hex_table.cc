#include "gamedb/hex_table.h"

HexTable createHexTable(int32_t hexCount) {
  const size_t size = hexCount > 0 ? static_cast<size_t>(hexCount) : 0;
  HexTable table;
  table.positions.assign(size, 0);
  for (const HexFieldEntry& field : kHexFields) {
    (table.*field.member).assign(size, std::string());
  }
  return table;
}
