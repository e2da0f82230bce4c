// Known answers: a game database written byte by byte at the offsets the
// game uses (not through the tool's layout constants), decoded and
// translated into the values the game means.
#include "gamedb/map_decoding.h"

#include <gtest/gtest.h>

#include <cstring>
#include <sstream>

#include "translate/hex_table_translation.h"

namespace {

GameDatabaseBuffer bufferOf(const std::string& bytes) {
  GameDatabaseBuffer buffer;
  buffer.length = static_cast<int32_t>(bytes.size());
  buffer.bytes.reset(new uint8_t[bytes.size()]);
  std::memcpy(buffer.bytes.get(), bytes.data(), bytes.size());
  return buffer;
}

void put(std::string& bytes, size_t at, const std::string& what) {
  bytes.replace(at, what.size(), what);
}

// A map of 1 row and 2 columns. The map description's type name starts at
// byte 20 (object at 7): columns at byte 55, rows at 59. Hex 0's type name
// starts at 100 (object at 87), hex 1's at 250 (object at 237).
std::string oneRowTwoColumns() {
  std::string bytes(400, '\0');
  put(bytes, 20, "?AVtMetaMapDesc@@");
  put(bytes, 55, "\x02");  // columns
  put(bytes, 59, "\x01");  // rows
  put(bytes, 100, "?AVtMetaMapHex@@");
  put(bytes, 139, "\xC8");  // X: -56
  put(bytes, 143, "\x05");  // Y: 5
  put(bytes, 155, "\x03");  // political control: empire 3
  put(bytes, 167, std::string("\x00\x10\x00\x00", 4));  // terrain: bit 12
  put(bytes, 171, std::string("\x04\x00", 2));          // planet: bit 2
  put(bytes, 173, "\xFF\xFF");                          // not read
  put(bytes, 175, "\x02");                              // starbase 2
  put(bytes, 183, "\x07");                              // economy 7
  put(bytes, 215, "\x0A");                              // defense value 10
  put(bytes, 250, "?AVtMetaMapHex@@");
  put(bytes, 289, "\x01");  // X: 1; everything else 0
  return bytes;
}

TEST(KnownAnswerTest, HexObjectsDecodeToWhatTheGameMeans) {
  const GameDatabaseBuffer buffer = bufferOf(oneRowTwoColumns());
  std::ostringstream out;
  auto located = locateMapHexes(out, buffer);
  ASSERT_TRUE(located.ok());
  DecodedMap& map = located.value();
  extractHexFields(out, buffer, map);
  EXPECT_EQ(0, map.surplusHexObjects);
  EXPECT_EQ(1, map.rows);
  EXPECT_EQ(2, map.columns);
  EXPECT_EQ(2, map.hexCount);
  EXPECT_EQ((std::vector<int32_t>{87, 237}), map.hexes.positions);
  // Byte tokens, least significant byte first.
  EXPECT_EQ((FieldTexts{"+00+10+00+00", "+00+00+00+00"}), map.hexes.terrain);
  EXPECT_EQ((FieldTexts{"+04+00", "+00+00"}), map.hexes.planet);

  translateHexTable(map.hexes);
  EXPECT_EQ((FieldTexts{"-56", "1"}), map.hexes.x);
  EXPECT_EQ((FieldTexts{"5", "0"}), map.hexes.y);
  EXPECT_EQ((FieldTexts{"4096", "67108864"}), map.hexes.terrain);
  EXPECT_EQ((FieldTexts{"2", "0"}), map.hexes.starbase);
  EXPECT_EQ((FieldTexts{"4", "0"}), map.hexes.planet);
  EXPECT_EQ((FieldTexts{"3", "0"}), map.hexes.politicalControl);
  EXPECT_EQ((FieldTexts{"10", "0"}), map.hexes.defenseValue);
  EXPECT_EQ((FieldTexts{"7", "0"}), map.hexes.economy);
}

TEST(KnownAnswerTest, MapSizeIsReadFromItsBytes) {
  std::string bytes = oneRowTwoColumns();
  put(bytes, 55, "\x14");  // 20 columns
  put(bytes, 59, "\x0C");  // 12 rows
  const GameDatabaseBuffer buffer = bufferOf(bytes);
  std::ostringstream out;
  const auto located = locateMapHexes(out, buffer);
  ASSERT_FALSE(located.ok());
  const DamagedGameDatabase& damaged = located.failure();
  EXPECT_EQ(DamagedGameDatabase::Kind::kTooFewHexObjects, damaged.kind);
  EXPECT_EQ(12, damaged.rows);
  EXPECT_EQ(20, damaged.columns);
  EXPECT_EQ(2, damaged.hexObjects);
  EXPECT_EQ(240, damaged.hexesNeeded);
}

}  // namespace
