#include "gamedb/hex_table.h"

#include <gtest/gtest.h>

namespace {

// A hex count of 0 or less (a damaged map size) makes an empty table, never
// a huge one; every field has one empty text per hex.
TEST(HexTableTest, HasOneEntryPerHexInEveryArray) {
  const struct {
    int32_t hexCount;
    size_t entries;
  } kCases[] = {{-6, 0}, {0, 0}, {1, 1}, {3, 3}};
  for (const auto& c : kCases) {
    const HexTable t = createHexTable(c.hexCount);
    EXPECT_EQ(std::vector<int32_t>(c.entries, 0), t.positions) << c.hexCount;
    for (const HexFieldEntry& field : kHexFields) {
      EXPECT_EQ(FieldTexts(c.entries), t.*field.member) << c.hexCount;
    }
  }
}

}  // namespace
