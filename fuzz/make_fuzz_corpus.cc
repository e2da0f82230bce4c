// Writes the seed corpus of the fuzz targets: small game databases made by
// the test fixture builder (valid maps, type names at the edge positions,
// truncations, odd grid sizes) and a few config.txt files.
//
// Usage: make_fuzz_corpus DECODE_DIR CONFIG_DIR
#include <fstream>
#include <iostream>
#include <string>

#include "gamedb/object_layout.h"
#include "gamedb_builder/game_db_builder.h"

namespace {

void put(const std::string& dir, const std::string& name,
         const std::string& bytes) {
  std::ofstream(dir + "/" + name, std::ios::binary) << bytes;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: " << argv[0] << " DECODE_DIR CONFIG_DIR\n";
    return 2;
  }
  const std::string decode = argv[1];
  const std::string config = argv[2];

  const std::string map23 = plainGameDb(2, 3).bytes();
  put(decode, "map-2x3", map23);
  put(decode, "map-1x1", plainGameDb(1, 1).bytes());
  put(decode, "map-3x3", plainGameDb(3, 3).bytes());
  for (size_t cut : {size_t{0}, size_t{40}, size_t{70}, size_t{300},
                     size_t{400}, map23.size() - 1, map23.size() - 129}) {
    put(decode, "map-2x3-cut-" + std::to_string(cut), map23.substr(0, cut));
  }
  put(decode, "edges",
      GameDbBuilder(200)
          .mapDescriptionAt(16, 1, 1)
          .bytesAt(40, kHexTypeName)
          .resize(200)
          .bytes());
  put(decode, "negative-grid",
      GameDbBuilder().mapDescriptionAt(20, 0xFE, 0xFD).resize(100).bytes());
  put(decode, "no-description", GameDbBuilder(60).byteAt(52, 1).bytes());
  GameDbBuilder many(4000, '?');
  for (size_t at = 16; at + 17 < 4000; at += 17) {
    many.bytesAt(at, kMapDescriptionTypeName);
  }
  put(decode, "many-descriptions", many.bytes());
  GameDbBuilder surplus = plainGameDb(1, 2);
  surplus.hexAt(surplus.size() + 20, HexValues{}).resize(surplus.size() + 200);
  put(decode, "surplus", surplus.bytes());

  put(config, "plain", "game.db localhost root & webmap\n");
  put(config, "lines", "game.db\r\nhost\r\nuser\r\npw\r\nweb-map\r\n42\r\n");
  put(config, "short", "game.db localhost root");
  put(config, "no-break", "a b c d e");
  return 0;
}
