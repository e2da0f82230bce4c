// Translation of the hex table's field texts, in place, from byte tokens into
// the decimal texts that the webmap stores. Each operation rewrites every
// entry of one field array; none fails or reports anything.
#ifndef ZELKOR_TRANSLATE_FIELD_TRANSLATION_H_
#define ZELKOR_TRANSLATE_FIELD_TRANSLATION_H_

#include "gamedb/hex_table.h"

// One token into its signed value: "-C8" becomes "-56". A text that is no
// token becomes "0". For X, Y, defense value and economy.
void translateNumber(FieldTexts& field);

// The game's terrain (four tokens, least significant byte first) into the
// webmap's terrain code; any text not in the table becomes "67108864".
void translateTerrain(FieldTexts& field);

// "+01", "+02", "+04", "+08", "+10" into "1", "2", "4", "8", "16"; any other
// text becomes "0".
void translateStarbase(FieldTexts& field);

// A planet text (two tokens, least significant byte first) with exactly one
// of the bits 0 ... 11 set into that bit's value; any other text becomes "0".
void translatePlanet(FieldTexts& field);

// The empire's number 0 ... 8 stays as its decimal text; any other signed
// byte value becomes "15". A text that is no token counts as 0.
void translatePoliticalControl(FieldTexts& field);

#endif  // ZELKOR_TRANSLATE_FIELD_TRANSLATION_H_
