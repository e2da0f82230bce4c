#include "translate/field_translation.h"

#include "gamedb/byte_token.h"

namespace {

struct TableRow {
  const char* text;
  const char* result;
};

const TableRow kStarbaseTable[] = {
    {"+01", "1"}, {"+02", "2"}, {"+04", "4"}, {"+08", "8"}, {"+10", "16"},
};
constexpr char kStarbaseDefault[] = "0";

const TableRow kPlanetTable[] = {
    {"+01+00", "1"},   {"+02+00", "2"},    {"+04+00", "4"},
    {"+08+00", "8"},   {"+10+00", "16"},   {"+20+00", "32"},
    {"+40+00", "64"},  {"-80+00", "128"},  {"+00+01", "256"},
    {"+00+02", "512"}, {"+00+04", "1024"}, {"+00+08", "2048"},
};
constexpr char kPlanetDefault[] = "0";

// Several game terrains share one webmap code.
const TableRow kTerrainTable[] = {
    {"+40+00+00+00", "64"},      {"+00+02+00+00", "64"},
    {"-80+00+00+00", "512"},     {"+00+04+00+00", "512"},
    {"+00+01+00+00", "256"},     {"+00+10+00+00", "4096"},
    {"+00-80+00+00", "4096"},    {"+00+20+00+00", "8192"},
    {"+00+00+10+00", "8192"},    {"+00+40+00+00", "16384"},
    {"+00+00+02+00", "16384"},   {"+00+00+04+00", "262144"},
    {"+00+00+08+00", "524288"},  {"+00+00+20+00", "2097152"},
    {"+00+00+40+00", "4194304"}, {"+00+00-80+00", "8388608"},
};
constexpr char kTerrainDefault[] = "67108864";

template <size_t N>
void translateByTable(FieldTexts& field, const TableRow (&table)[N],
                      const char* fallback) {
  for (std::string& text : field) {
    const char* result = fallback;
    for (const TableRow& row : table) {
      if (text == row.text) {
        result = row.result;
        break;
      }
    }
    text = result;
  }
}

}  // namespace

void translateNumber(FieldTexts& field) {
  for (std::string& text : field) {
    text = std::to_string(tokenToByte(text));
  }
}

void translatePoliticalControl(FieldTexts& field) {
  for (std::string& text : field) {
    const int32_t empire = tokenToByte(text);
    text = empire >= 0 && empire <= 8 ? std::to_string(empire) : "15";
  }
}

void translateStarbase(FieldTexts& field) {
  translateByTable(field, kStarbaseTable, kStarbaseDefault);
}

void translatePlanet(FieldTexts& field) {
  translateByTable(field, kPlanetTable, kPlanetDefault);
}

void translateTerrain(FieldTexts& field) {
  translateByTable(field, kTerrainTable, kTerrainDefault);
}
