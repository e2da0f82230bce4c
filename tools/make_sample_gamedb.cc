// Writes a sample Quarrion game database for the demo and the benchmarks: a
// map of the given size (default 12 rows x 20 columns) with varied terrain,
// planets, starbases and empires, its objects spread through filler the way
// a real file mixes them with other game objects.
//
// Usage: make_sample_gamedb FILE [ROWS COLUMNS]
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <random>
#include <string>

#include "gamedb_builder/game_db_builder.h"

namespace {

// Game terrains (single bits) that the webmap knows.
const uint32_t kTerrains[] = {1u << 6,  1u << 9,  1u << 7,  1u << 10,
                              1u << 8,  1u << 12, 1u << 15, 1u << 13,
                              1u << 20, 1u << 14, 1u << 17, 1u << 18,
                              1u << 19, 1u << 21, 1u << 22, 1u << 23};

}  // namespace

int main(int argc, char** argv) {
  const char kUsage[] =
      " FILE [ROWS COLUMNS]\n"
      "Writes a sample game database to FILE: a map of ROWS x COLUMNS hexes\n"
      "(each 1 ... 127; by default 12 x 20).\n";
  if ((argc != 2 && argc != 4) || argv[1][0] == '-') {
    const bool asked = argc == 2 && (std::string(argv[1]) == "--help" ||
                                     std::string(argv[1]) == "-h");
    (asked ? std::cout : std::cerr) << "usage: " << argv[0] << kUsage;
    return asked ? 0 : 2;
  }
  const int rows = argc == 4 ? std::atoi(argv[2]) : 12;
  const int columns = argc == 4 ? std::atoi(argv[3]) : 20;
  if (columns < 1 || columns > 127 || rows < 1 || rows > 127) {
    std::cerr << "ROWS and COLUMNS must be 1 ... 127\n";
    return 2;
  }
  std::mt19937 random(20031917);
  GameDbBuilder db(512);
  for (size_t i = 0; i < 512; ++i) db.byteAt(i, random() & 0xFF);
  db.mapDescriptionAt(100, static_cast<uint8_t>(rows),
                      static_cast<uint8_t>(columns));
  size_t next = 600;
  for (int i = 0; i < rows * columns; ++i) {
    HexValues f;
    f.x = static_cast<uint8_t>(i % columns);
    f.y = static_cast<uint8_t>(i / columns);
    f.terrain = kTerrains[random() % 16];
    f.starbase =
        random() % 8 == 0 ? static_cast<uint8_t>(1u << (random() % 5)) : 0;
    f.planet =
        random() % 4 == 0 ? static_cast<uint16_t>(1u << (random() % 12)) : 0;
    f.politicalControl =
        random() % 5 == 0 ? 15 : static_cast<uint8_t>(random() % 9);
    f.defenseValue = static_cast<uint8_t>(random() % 40);
    f.economy = static_cast<uint8_t>(random() % 12);
    db.hexAt(next, f);
    // Other game objects sit between the hexes.
    const size_t gap = 140 + random() % 200;
    for (size_t b = next + 129; b < next + gap; ++b) {
      db.byteAt(b, random() & 0xFF);
    }
    next += gap;
  }
  db.resize(next + 64);
  std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
  out.write(db.bytes().data(), static_cast<std::streamsize>(db.size()));
  if (!out) {
    std::cerr << "cannot write " << argv[1] << "\n";
    return 1;
  }
  return 0;
}
