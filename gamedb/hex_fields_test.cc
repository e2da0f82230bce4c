#include "gamedb/hex_fields.h"

#include <gtest/gtest.h>

#include "gamedb/map_locator.h"
#include "gamedb/object_layout.h"
#include "test_support/game_db_builder.h"

namespace {

const uint8_t* data(const GameDbBuilder& db) {
  return reinterpret_cast<const uint8_t*>(db.bytes().data());
}

HexTable extractAll(const GameDbBuilder& db, int32_t hexCount) {
  const GameObjectPositions found =
      findGameObjects(data(db), static_cast<int32_t>(db.size()));
  HexTable t = createHexTable(hexCount);
  findHexObjects(found, hexCount, t.positions);
  getXCoordinates(data(db), hexCount, t.positions, t.x);
  getYCoordinates(data(db), hexCount, t.positions, t.y);
  getTerrain(data(db), hexCount, t.positions, t.terrain);
  getStarbases(data(db), hexCount, t.positions, t.starbase);
  getPlanets(data(db), hexCount, t.positions, t.planet);
  getPoliticalControl(data(db), hexCount, t.positions, t.politicalControl);
  getDefenseValues(data(db), hexCount, t.positions, t.defenseValue);
  getEconomy(data(db), hexCount, t.positions, t.economy);
  return t;
}

TEST(HexFieldsTest, StoresTokensJoinedLeastSignificantByteFirst) {
  HexFields f;
  f.x = 0xC8;
  f.y = 0x05;
  f.terrain = 0x00800000;  // bytes 00 00 80 00
  f.starbase = 0x10;
  f.planet = 0x0080;  // bytes 80 00
  f.politicalControl = 0x09;
  f.defenseValue = 0x80;
  f.economy = 0x7F;
  GameDbBuilder db;
  db.hexAt(100, f).resize(400);
  const HexTable t = extractAll(db, 1);
  EXPECT_EQ("-C8", t.x[0]);
  EXPECT_EQ("+05", t.y[0]);
  EXPECT_EQ("+00+00-80+00", t.terrain[0]);
  EXPECT_EQ("+10", t.starbase[0]);
  EXPECT_EQ("-80+00", t.planet[0]);
  EXPECT_EQ("+09", t.politicalControl[0]);
  EXPECT_EQ("-80", t.defenseValue[0]);
  EXPECT_EQ("+7F", t.economy[0]);
}

TEST(HexFieldsTest, MultiByteFieldsKeepByteOrder) {
  const struct {
    uint32_t terrain;
    uint16_t planet;
    const char* terrainText;
    const char* planetText;
  } kCases[] = {
      {0x00000040, 0x0001, "+40+00+00+00", "+01+00"},
      {0x00000200, 0x0100, "+00+02+00+00", "+00+01"},
      {0x12345678, 0xABCD, "+78+56+34+12", "-CD-AB"},
  };
  for (const auto& c : kCases) {
    HexFields f;
    f.terrain = c.terrain;
    f.planet = c.planet;
    GameDbBuilder db;
    db.hexAt(50, f).resize(300);
    const HexTable t = extractAll(db, 1);
    EXPECT_EQ(c.terrainText, t.terrain[0]);
    EXPECT_EQ(c.planetText, t.planet[0]);
  }
}

TEST(HexFieldsTest, HexesFollowFileOrderNotCoordinates) {
  HexFields first;
  first.x = 3;
  HexFields second;
  second.x = 0;
  GameDbBuilder db;
  db.hexAt(100, first).hexAt(400, second).resize(700);
  const HexTable t = extractAll(db, 2);
  EXPECT_EQ((FieldArray{"+03", "+00"}), t.x);
}

TEST(HexFieldsTest, BytesBetweenPlanetAndStarbaseAreNotRead) {
  GameDbBuilder db;
  db.hexAt(100, HexFields{}).resize(400);
  const HexTable before = extractAll(db, 1);
  db.byteAt(100 - kTypeNameOffset + 86, 0xFF)
      .byteAt(100 - kTypeNameOffset + 87, 0x01);
  const HexTable after = extractAll(db, 1);
  EXPECT_EQ(before.planet, after.planet);
  EXPECT_EQ(before.starbase, after.starbase);
  EXPECT_EQ(before.terrain, after.terrain);
}

TEST(HexFieldsTest, ZeroHexesReadNothing) {
  GameDbBuilder db;
  db.hexAt(100, HexFields{}).resize(400);
  const HexTable t = extractAll(db, 0);
  EXPECT_TRUE(t.x.empty());
  EXPECT_TRUE(createHexTable(-4).economy.empty());
}

TEST(HexFieldsTest, NewTableHasOnlyEmptyTexts) {
  const HexTable t = createHexTable(3);
  for (const FieldArray* f :
       {&t.x, &t.y, &t.terrain, &t.starbase, &t.planet, &t.politicalControl,
        &t.defenseValue, &t.economy}) {
    EXPECT_EQ(FieldArray(3), *f);
  }
}

TEST(HexFieldsTest, FindHexObjectsCountsAllButFillsOnlyTheTable) {
  GameObjectPositions found;
  found.hexObjects = {10, 20, 30, 40};
  found.hexObjectCount = 4;
  std::vector<int32_t> positions(3, -1);
  EXPECT_EQ(4, findHexObjects(found, 3, positions));
  EXPECT_EQ((std::vector<int32_t>{10, 20, 30}), positions);
  std::vector<int32_t> roomy(6, -1);
  EXPECT_EQ(4, findHexObjects(found, 6, roomy));
  EXPECT_EQ((std::vector<int32_t>{10, 20, 30, 40, -1, -1}), roomy);
}

TEST(HexFieldsTest, FirstHexObjectPastEnd) {
  const std::vector<int32_t> positions = {0, 100, 200};
  EXPECT_EQ(-1, firstHexObjectPastEnd(positions, 3, 200 + 129));
  EXPECT_EQ(2, firstHexObjectPastEnd(positions, 3, 200 + 128));
  EXPECT_EQ(-1, firstHexObjectPastEnd(positions, 2, 200 + 128));
  EXPECT_EQ(0, firstHexObjectPastEnd(positions, 3, 50));
}

TEST(MapLocatorTest, ReadsRowsAndColumnsAsSignedBytes) {
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
    const uint8_t* bytes = data(db);
    const int32_t p = findGameObjects(bytes, 200).mapDescription;
    ASSERT_EQ(27, p);
    EXPECT_EQ(c.expectedRows, readRows(bytes, p));
    EXPECT_EQ(c.expectedColumns, readColumns(bytes, p));
  }
}

TEST(MapLocatorTest, GridSizeMustLieInsideTheBuffer) {
  EXPECT_TRUE(gridSizeInBuffer(0, 53));
  EXPECT_FALSE(gridSizeInBuffer(0, 52));
  EXPECT_TRUE(gridSizeInBuffer(100, 153));
  EXPECT_FALSE(gridSizeInBuffer(100, 152));
}

}  // namespace
