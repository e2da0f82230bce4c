#include "gamedb/field_extraction.h"

#include <gtest/gtest.h>

#include <utility>

#include "gamedb/object_layout.h"
#include "gamedb/object_scan.h"
#include "gamedb_builder/game_db_builder.h"

namespace {

const uint8_t* data(const GameDbBuilder& db) {
  return reinterpret_cast<const uint8_t*>(db.bytes().data());
}

// The hex table of the first hexCount hex objects, every field extracted.
HexTable extractAll(const GameDbBuilder& db, int32_t hexCount) {
  const GameObjectPositions found =
      findGameObjects(data(db), static_cast<int32_t>(db.size()));
  HexTable t = createHexTable(hexCount);
  findHexObjects(found, t.positions);
  for (const HexFieldEntry& field : kHexFields) {
    extractField(data(db), t.positions, field.location, t.*field.member);
  }
  return t;
}

TEST(HexFieldsTest, StoresTokensJoinedLeastSignificantByteFirst) {
  HexValues f;
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
    HexValues f;
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
  HexValues first;
  first.x = 3;
  HexValues second;
  second.x = 0;
  GameDbBuilder db;
  db.hexAt(100, first).hexAt(400, second).resize(700);
  const HexTable t = extractAll(db, 2);
  EXPECT_EQ((FieldTexts{"+03", "+00"}), t.x);
}

TEST(HexFieldsTest, BytesBetweenPlanetAndStarbaseAreNotRead) {
  GameDbBuilder db;
  db.hexAt(100, HexValues{}).resize(400);
  const HexTable before = extractAll(db, 1);
  db.byteAt(100 - kTypeNameOffset + 86, 0xFF)
      .byteAt(100 - kTypeNameOffset + 87, 0x01);
  const HexTable after = extractAll(db, 1);
  EXPECT_EQ(before.planet, after.planet);
  EXPECT_EQ(before.starbase, after.starbase);
  EXPECT_EQ(before.terrain, after.terrain);
}

TEST(HexFieldsTest, FirstHexObjectPastEnd) {
  const std::vector<int32_t> positions = {0, 100, 200};
  EXPECT_EQ(-1, firstHexObjectPastEnd(positions, 200 + 129));
  EXPECT_EQ(2, firstHexObjectPastEnd(positions, 200 + 128));
  EXPECT_EQ(0, firstHexObjectPastEnd(positions, 50));
  EXPECT_EQ(0, firstHexObjectPastEnd({-1}, 1000));
}

}  // namespace
