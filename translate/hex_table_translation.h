// The translation of a whole hex table: the eight field translations, one
// pass each, in the fixed field order.
#ifndef ZELKOR_TRANSLATE_HEX_TABLE_TRANSLATION_H_
#define ZELKOR_TRANSLATE_HEX_TABLE_TRANSLATION_H_

#include "gamedb/hex_table.h"

// Rewrites every field text of hexes from byte tokens into the decimal text
// that the webmap stores.
void translateHexTable(HexTable& hexes);

#endif  // ZELKOR_TRANSLATE_HEX_TABLE_TRANSLATION_H_
