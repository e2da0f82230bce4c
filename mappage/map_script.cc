#include "mappage/map_script.h"

#include "webmap/webmap_tables.h"

// The script itself is mappage/map_page.js, made into a definition of
// kMapScript at build time (cmake/embed_text.cmake).
#include "mappage/map_page_js.inc"


namespace {

// The script's NAMES list, the maphex columns a hex's row shows, checked at
// compile time against the column table: the columns the tool writes in the
// table's order, then those it leaves for web pages, as the reader reads
// them.
constexpr bool namesFollowTheColumns() {
  constexpr char kList[] = "var NAMES = [";
  size_t at = 0;
  for (;; ++at) {
    if (kMapScript[at] == '\0') return false;
    size_t k = 0;
    while (kList[k] != '\0' && kMapScript[at + k] == kList[k]) ++k;
    if (kList[k] == '\0') {
      at += k;
      break;
    }
  }
  for (bool leftForWebPages : {false, true}) {
    for (const MapHexColumn& column : kMapHexColumns) {
      if (column.readAs == nullptr ||
          (column.value == ColumnValue::kLeftForWebPages) != leftForWebPages) {
        continue;
      }
      while (kMapScript[at] != '"') {
        if (kMapScript[at] == '\0' || kMapScript[at] == ']') return false;
        ++at;
      }
      ++at;
      for (size_t k = 0; column.name[k] != '\0'; ++k, ++at) {
        if (kMapScript[at] != column.name[k]) return false;
      }
      if (kMapScript[at++] != '"') return false;
    }
  }
  while (kMapScript[at] == ' ' || kMapScript[at] == '\n') ++at;
  return kMapScript[at] == ']';
}
static_assert(namesFollowTheColumns(),
              "the script names the maphex columns in the reader's order");

}  // namespace
