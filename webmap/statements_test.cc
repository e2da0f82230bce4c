// The statement texts, byte for byte, and the small helpers of the webmap
// preparation; no server needed.
#include <gtest/gtest.h>

#include "webmap/hex_upload.h"
#include "webmap/map_description.h"
#include "webmap/webmap_preparation.h"
#include "webmap/webmap_tables.h"

namespace {

HexTable hexSevenOfEight() {
  HexTable t = createHexTable(8);
  t.x[7] = "3";
  t.y[7] = "4";
  t.politicalControl[7] = "2";
  t.terrain[7] = "4096";
  t.planet[7] = "0";
  t.starbase[7] = "0";
  t.economy[7] = "5";
  t.defenseValue[7] = "10";
  return t;
}

TEST(StatementsTest, HexInsert) {
  EXPECT_EQ(
      "INSERT INTO maphex(ID, X, Y, PoliticalControl, TerrainType, "
      "PlanetType, StarbaseType, BaseEconomicPoints, CurrentEconomicPoints, "
      "BaseVictoryPoints, CurrentVictoryPoints, BaseSpeedPoints, "
      "CurrentSpeedPoints) VALUES( 7, 3, 4, 2, 4096, 0, 0, 5, 5, 10, 10, 1 , "
      "1 );",
      hexInsertStatement(hexSevenOfEight(), 7));
}

TEST(StatementsTest, HexUpdateHasNoBlankBeforeWhere) {
  EXPECT_EQ(
      "UPDATE maphex SET X='3', Y='4', PoliticalControl='2', "
      "TerrainType='4096', PlanetType='0', StarbaseType='0', "
      "BaseEconomicPoints='5', CurrentEconomicPoints='5', "
      "BaseVictoryPoints='10', CurrentVictoryPoints='10', "
      "BaseSpeedPoints='1', CurrentSpeedPoints='1'WHERE ID='7';",
      hexUpdateStatement(hexSevenOfEight(), 7));
}

TEST(StatementsTest, MapDescriptionWidthIsColumnsAndHeightIsRows) {
  EXPECT_EQ(
      "INSERT INTO mapdescription(ID, Width, Height, CorrectedBaseAIs) "
      "VALUES('777777', '20', '12', '1');",
      mapDescriptionInsertStatement(12, 20));
  EXPECT_EQ(
      "UPDATE mapdescription SET Width='20', Height='12', "
      "CorrectedBaseAIs='1' WHERE ID='777777';",
      mapDescriptionUpdateStatement(12, 20));
  EXPECT_EQ(
      "INSERT INTO mapdescription(ID, Width, Height, CorrectedBaseAIs) "
      "VALUES('777777', '5', '-3', '1');",
      mapDescriptionInsertStatement(-3, 5));
}

TEST(StatementsTest, DatabaseNameIsOneQuotedIdentifier) {
  const struct {
    const char* name;
    const char* quoted;
  } kCases[] = {
      {"webmap", "`webmap`"},
      {"web-map", "`web-map`"},
      {"a`b", "`a``b`"},
      {"x`; DROP DATABASE mysql; --", "`x``; DROP DATABASE mysql; --`"},
      {"``", "``````"},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(c.quoted, quoteIdentifier(c.name)) << c.name;
  }
}

TEST(StatementsTest, CountTextReadsLikeTextToInt) {
  const struct {
    const char* text;
    int64_t count;
  } kCases[] = {
      {"240", 240},  {" 240", 240}, {"+7", 7},    {"-2", -2}, {"12abc", 12},
      {"Error!", 0}, {"", 0},       {"\t\n5", 5}, {"+-3", 0}, {"0007", 7},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(c.count, countFromText(c.text)) << "\"" << c.text << "\"";
  }
  // Far too many digits still read as more rows than any map has.
  EXPECT_GT(countFromText("99999999999999999999"), 16384);
}

}  // namespace

namespace {

// Lower-case table names, as every other statement writes them, so that a
// server comparing names by case finds the tables.
TEST(StatementsTest, CreateTables) {
  EXPECT_EQ(
      "CREATE TABLE maphex (ID INTEGER PRIMARY KEY, LOCKED DATETIME, LOCKID "
      "INTEGER, X INTEGER NOT NULL, Y INTEGER NOT NULL, PoliticalControl "
      "INTEGER NOT NULL, TerrainType INTEGER NOT NULL, PlanetType INTEGER NOT "
      "NULL, StarbaseType INTEGER NOT NULL, BaseEconomicPoints INTEGER NOT "
      "NULL, CurrentEconomicPoints INTEGER NOT NULL, BaseVictoryPoints "
      "INTEGER NOT NULL, CurrentVictoryPoints INTEGER NOT NULL, "
      "BaseSpeedPoints DOUBLE NOT NULL, CurrentSpeedPoints DOUBLE NOT NULL, "
      "CONSTRAINT XYIndex UNIQUE(X, Y) );",
      createMapHexStatement());
  EXPECT_EQ(
      "CREATE TABLE mapdescription (ID INTEGER PRIMARY KEY, LOCKED DATETIME, "
      "LOCKID INTEGER, Width INTEGER NOT NULL, Height INTEGER NOT NULL, "
      "CorrectedBaseAIs INTEGER NOT NULL);",
      createMapDescriptionStatement());
}

}  // namespace
