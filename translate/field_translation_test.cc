#include "translate/field_translation.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

struct Case {
  const char* text;
  const char* result;
};

using Translation = std::function<void(FieldTexts&)>;

void expectTranslations(const char* name, const Translation& translate,
                        const std::vector<Case>& cases) {
  FieldTexts field;
  for (const Case& c : cases) field.push_back(c.text);
  translate(field);
  for (size_t i = 0; i < cases.size(); ++i) {
    EXPECT_EQ(cases[i].result, field[i])
        << name << " of \"" << cases[i].text << "\"";
  }
}

TEST(FieldTranslationTest, Numbers) {
  expectTranslations("number", translateNumber,
                     {{"+05", "5"},
                      {"+7F", "127"},
                      {"-80", "-128"},
                      {"-C8", "-56"},
                      {"-FF", "-1"},
                      {"+00", "0"},
                      {"+64", "100"},
                      {"+XX", "0"},
                      {"", "0"}});
}

TEST(FieldTranslationTest, PoliticalControlKeepsEmpiresZeroToEight) {
  expectTranslations("political control", translatePoliticalControl,
                     {{"+00", "0"},
                      {"+01", "1"},
                      {"+04", "4"},
                      {"+08", "8"},
                      {"+09", "15"},
                      {"+0F", "15"},
                      {"+7F", "15"},
                      {"-80", "15"},
                      {"-FF", "15"},
                      {"junk", "0"}});
}

TEST(FieldTranslationTest, Starbase) {
  expectTranslations("starbase", translateStarbase,
                     {{"+01", "1"},
                      {"+02", "2"},
                      {"+04", "4"},
                      {"+08", "8"},
                      {"+10", "16"},
                      {"+00", "0"},
                      {"+03", "0"},
                      {"+20", "0"},
                      {"-80", "0"},
                      {"", "0"}});
}

TEST(FieldTranslationTest, PlanetSingleBitsZeroToEleven) {
  expectTranslations("planet", translatePlanet,
                     {{"+01+00", "1"},
                      {"+02+00", "2"},
                      {"+04+00", "4"},
                      {"+08+00", "8"},
                      {"+10+00", "16"},
                      {"+20+00", "32"},
                      {"+40+00", "64"},
                      {"-80+00", "128"},
                      {"+00+01", "256"},
                      {"+00+02", "512"},
                      {"+00+04", "1024"},
                      {"+00+08", "2048"},
                      // defaults: two bits, bit 12, no bit, not canonical
                      {"+03+00", "0"},
                      {"+00+10", "0"},
                      {"+00-80", "0"},
                      {"+00+00", "0"},
                      {"+80+00", "0"},
                      {"+01", "0"}});
}

TEST(FieldTranslationTest, TerrainCodesAndDefault) {
  expectTranslations("terrain", translateTerrain,
                     {{"+40+00+00+00", "64"},
                      {"+00+02+00+00", "64"},
                      {"-80+00+00+00", "512"},
                      {"+00+04+00+00", "512"},
                      {"+00+01+00+00", "256"},
                      {"+00+10+00+00", "4096"},
                      {"+00-80+00+00", "4096"},
                      {"+00+20+00+00", "8192"},
                      {"+00+00+10+00", "8192"},
                      {"+00+40+00+00", "16384"},
                      {"+00+00+02+00", "16384"},
                      {"+00+00+04+00", "262144"},
                      {"+00+00+08+00", "524288"},
                      {"+00+00+20+00", "2097152"},
                      {"+00+00+40+00", "4194304"},
                      {"+00+00-80+00", "8388608"},
                      // bits 6 and 9 at once, no bit, bit 16, bit 11, bit 24
                      {"+40+02+00+00", "67108864"},
                      {"+00+00+00+00", "67108864"},
                      {"+00+00+01+00", "67108864"},
                      {"+00+08+00+00", "67108864"},
                      {"+00+00+00+01", "67108864"},
                      {"+01+00+00+00", "67108864"},
                      {"", "67108864"}});
}

}  // namespace
