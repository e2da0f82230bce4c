#include "gamedb/object_scan.h"
#include "gamedb/object_scan_kernels.h"

#include <gtest/gtest.h>

#include "gamedb/object_layout.h"
#include "gamedb_builder/game_db_builder.h"

namespace {

GameObjectPositions scan(const GameDbBuilder& db) {
  return findGameObjects(reinterpret_cast<const uint8_t*>(db.bytes().data()),
                         static_cast<int32_t>(db.size()));
}

TEST(ObjectScanTest, MapDescriptionFromPositionSixteenOn) {
  GameDbBuilder at16(200);
  at16.bytesAt(16, kMapDescriptionTypeName);
  EXPECT_EQ(3, scan(at16).mapDescription);

  GameDbBuilder at15(200);
  at15.bytesAt(15, kMapDescriptionTypeName);
  EXPECT_EQ(0, scan(at15).mapDescription);
}

TEST(ObjectScanTest, HexObjectsFromPositionFifteenOn) {
  GameDbBuilder db(200);
  db.bytesAt(14, kHexTypeName);
  EXPECT_TRUE(scan(db).hexObjects.empty());
  db.bytesAt(14, std::string(16, '\0')).bytesAt(15, kHexTypeName);
  EXPECT_EQ(std::vector<int32_t>{2}, scan(db).hexObjects);
}

TEST(ObjectScanTest, LastMapDescriptionWins) {
  GameDbBuilder db(6000);
  db.bytesAt(100, kMapDescriptionTypeName)
      .bytesAt(5000, kMapDescriptionTypeName);
  EXPECT_EQ(4987, scan(db).mapDescription);
}

TEST(ObjectScanTest, HexObjectsInFileOrder) {
  GameDbBuilder db(2000, '?');
  db.bytesAt(40, kHexTypeName)
      .bytesAt(700, kHexTypeName)
      .bytesAt(1984, kHexTypeName);  // ends exactly at the end of the file
  EXPECT_EQ((std::vector<int32_t>{27, 687, 1971}), scan(db).hexObjects);
}

TEST(ObjectScanTest, TypeNamesCutOffByTheEndOfTheFileAreNotFound) {
  const std::string desc = kMapDescriptionTypeName;
  const std::string hex = kHexTypeName;
  GameDbBuilder db(300);
  db.bytesAt(300 - 16, desc.substr(0, 16));
  EXPECT_EQ(0, scan(db).mapDescription);
  GameDbBuilder db2(300);
  db2.bytesAt(300 - 15, hex.substr(0, 15));
  EXPECT_TRUE(scan(db2).hexObjects.empty());
}

TEST(ObjectScanTest, NearMissesAreNoMatch) {
  const char* kTexts[] = {
      "?AVtMetaMaphex@@",  "?AVtMetaMapHex@",  "?AVtMetaMapHEX@@",
      "?AVtmetaMapHex@@",  "?AVtMetaMapDesc@", "?AVtMetaMapdesc@@",
      "?AVtMetaMapDesc@X", "?AVtMetaMap",      "??AVtMetaMapHe@@",
  };
  for (const char* text : kTexts) {
    GameDbBuilder db(400, '?');
    db.bytesAt(100, text);
    const GameObjectPositions found = scan(db);
    EXPECT_EQ(0, found.mapDescription) << text;
    EXPECT_TRUE(found.hexObjects.empty()) << text;
  }
}

TEST(ObjectScanTest, TheTwoTypesAreNeverTakenForEachOther) {
  GameDbBuilder db(1000);
  db.bytesAt(100, kMapDescriptionTypeName).bytesAt(300, kHexTypeName);
  const GameObjectPositions found = scan(db);
  EXPECT_EQ(87, found.mapDescription);
  EXPECT_EQ(std::vector<int32_t>{287}, found.hexObjects);
}

TEST(ObjectScanTest, EveryKernelFindsTypeNamesAtEveryAlignment) {
  // Starts at every position within a few vector blocks, including the
  // blocks that end at the end of the file.
  for (ScanKernel kernel :
       {ScanKernel::kWidest, ScanKernel::kSse2, ScanKernel::kBytewise}) {
    for (int32_t start = 15; start < 100; ++start) {
      GameDbBuilder db(start + 17 + (start % 3), '?');
      db.bytesAt(start, kHexTypeName);
      db.bytesAt(start + 70, kMapDescriptionTypeName);
      const GameObjectPositions found =
          findGameObjectsWith(reinterpret_cast<const uint8_t*>(db.bytes().data()),
                              static_cast<int32_t>(db.size()), kernel);
      EXPECT_EQ(std::vector<int32_t>{start - 13}, found.hexObjects)
          << "start " << start << " kernel " << int(kernel);
      EXPECT_EQ(start + 70 - 13, found.mapDescription)
          << "start " << start << " kernel " << int(kernel);
    }
  }
}

TEST(ObjectScanTest, EmptyAndTinyBuffersFindNothing) {
  EXPECT_EQ(0, findGameObjects(nullptr, 0).mapDescription);
  GameDbBuilder db(10, '?');
  EXPECT_TRUE(scan(db).hexObjects.empty());
}

// A file of nothing but hex type names keeps the first positions only, and
// counts the rest, for every kernel.
TEST(ObjectScanTest, KeepsNoMorePositionsThanAMapCanHaveButCountsAll) {
  constexpr int32_t kStride = 17;  // one type name after the other
  const int32_t objects = kMostHexesOfAMap + 1000;
  GameDbBuilder db(16, 'x');
  for (int32_t i = 0; i < objects; ++i) {
    db.bytesAt(16 + i * kStride, "?AVtMetaMapHex@@");
  }
  for (ScanKernel kernel :
       {ScanKernel::kWidest, ScanKernel::kSse2, ScanKernel::kBytewise}) {
    const GameObjectPositions found =
        findGameObjectsWith(reinterpret_cast<const uint8_t*>(db.bytes().data()),
                            static_cast<int32_t>(db.size()), kernel);
    EXPECT_EQ(objects, found.hexObjectCount) << int(kernel);
    ASSERT_EQ(static_cast<size_t>(kMostHexesOfAMap), found.hexObjects.size())
        << int(kernel);
    EXPECT_EQ(16 - 13, found.hexObjects.front()) << int(kernel);
    EXPECT_EQ(16 + (kMostHexesOfAMap - 1) * kStride - 13,
              found.hexObjects.back())
        << int(kernel);
  }
}

TEST(ObjectScanTest, FindHexObjectsCountsAllButFillsOnlyTheTable) {
  GameObjectPositions found;
  found.hexObjects = {10, 20, 30, 40};
  found.hexObjectCount = 4;
  std::vector<int32_t> positions(3, -1);
  EXPECT_EQ(4, findHexObjects(found, positions));
  EXPECT_EQ((std::vector<int32_t>{10, 20, 30}), positions);
  std::vector<int32_t> roomy(6, -1);
  EXPECT_EQ(4, findHexObjects(found, roomy));
  EXPECT_EQ((std::vector<int32_t>{10, 20, 30, 40, -1, -1}), roomy);
}

}  // namespace
