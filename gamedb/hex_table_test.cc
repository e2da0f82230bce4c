#include "gamedb/hex_table.h"

#include <gtest/gtest.h>

namespace {

TEST(HexTableTest, NewTableHasOnlyEmptyTextsAndZeroPositions) {
  const HexTable t = createHexTable(3);
  EXPECT_EQ(std::vector<int32_t>(3, 0), t.positions);
  for (const HexFieldEntry& field : kHexFields) {
    EXPECT_EQ(FieldTexts(3), t.*field.member);
  }
}

}  // namespace
