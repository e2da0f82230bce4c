#include "gamedb/grid_size.h"

#include <gtest/gtest.h>

#include "gamedb/object_scan.h"
#include "gamedb_builder/game_db_builder.h"

namespace {

TEST(GridSizeTest, ReadsRowsAndColumnsAsSignedBytes) {
  const struct {
    uint8_t rows, columns;
    int32_t expectedRows, expectedColumns;
  } kCases[] = {
      {0x0A, 0x14, 10, 20},
      {0x80, 0x01, -128, 1},
      {0xFF, 0x7F, -1, 127},
      {0x00, 0x05, 0, 5},
  };
  for (const auto& c : kCases) {
    GameDbBuilder db(200);
    db.mapDescriptionAt(40, c.rows, c.columns);
    const auto* bytes = reinterpret_cast<const uint8_t*>(db.bytes().data());
    const int32_t p = findGameObjects(bytes, 200).mapDescription;
    ASSERT_EQ(27, p);
    EXPECT_EQ(c.expectedRows, readRows(bytes, p));
    EXPECT_EQ(c.expectedColumns, readColumns(bytes, p));
  }
}

TEST(GridSizeTest, GridSizeMustLieInsideTheBuffer) {
  EXPECT_TRUE(gridSizeInBuffer(0, 53));
  EXPECT_FALSE(gridSizeInBuffer(0, 52));
  EXPECT_TRUE(gridSizeInBuffer(100, 153));
  EXPECT_FALSE(gridSizeInBuffer(100, 152));
}

}  // namespace
