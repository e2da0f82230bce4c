#include "translate/hex_table_translation.h"

#include <iterator>

#include "translate/field_translation.h"

namespace {

// How each hex field is translated, in the order of kHexFields.
struct FieldTranslation {
  HexField field;
  void (*translate)(FieldTexts&);
};

constexpr FieldTranslation kFieldTranslations[] = {
    {HexField::kX, translateNumber},
    {HexField::kY, translateNumber},
    {HexField::kTerrain, translateTerrain},
    {HexField::kStarbase, translateStarbase},
    {HexField::kPlanet, translatePlanet},
    {HexField::kPoliticalControl, translatePoliticalControl},
    {HexField::kDefenseValue, translateNumber},
    {HexField::kEconomy, translateNumber},
};

static_assert(followsHexFields(kFieldTranslations),
              "one translation per hex field, in the table's order");

}  // namespace

void translateHexTable(HexTable& hexes) {
  for (size_t i = 0; i < std::size(kHexFields); ++i) {
    kFieldTranslations[i].translate(hexes.*kHexFields[i].member);
  }
}
