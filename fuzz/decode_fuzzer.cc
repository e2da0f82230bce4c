// Arbitrary bytes as the game database: the object scan, the map size, the
// checks for damaged files, the eight extractions and the eight translations
// must never read outside the buffer, crash or hang, and what they produce
// must be what the webmap can store.
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "gamedb/map_decoding.h"
#include "test_support/null_stream.h"
#include "translate/hex_table_translation.h"

namespace {

bool isDecimal(const std::string& text) {
  size_t i = text.size() > 1 && text[0] == '-' ? 1 : 0;
  if (i == text.size()) return false;
  for (; i < text.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1u << 24)) return 0;
  // A buffer of exactly the file's length, as loading makes it, so that the
  // sanitizer sees any read past its end.
  GameDatabaseBuffer buffer;
  buffer.length = static_cast<int32_t>(size);
  buffer.bytes.reset(new uint8_t[size > 0 ? size : 1]);
  if (size > 0) std::memcpy(buffer.bytes.get(), data, size);

  NullStream out;
  auto located = locateMapHexes(out, buffer);
  if (!located.ok()) {
    // What it names must lie where it says: a hex object within the map's.
    const DamagedGameDatabase& damaged = located.failure();
    if (damaged.fileLength != buffer.length ||
        (damaged.kind == DamagedGameDatabase::Kind::kHexObjectPastEnd &&
         (damaged.hex < 0 || damaged.hex >= damaged.hexesNeeded ||
          damaged.hexLastByte < buffer.length))) {
      std::abort();
    }
    return 0;
  }
  DecodedMap& map = located.value();
  extractHexFields(out, buffer, map);
  translateHexTable(map.hexes);
  const HexTable& h = map.hexes;
  for (int32_t i = 0; i < map.hexCount; ++i) {
    for (const HexFieldEntry& field : kHexFields) {
      if (!isDecimal((h.*field.member)[i])) std::abort();
    }
  }
  return 0;
}
