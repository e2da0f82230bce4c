#include "gamedb/byte_token.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(ByteTokenTest, EncodesSignFromHighBitAndDigitsFromTheByte) {
  const struct {
    uint8_t byte;
    const char* token;
  } kCases[] = {
      {0x00, "+00"}, {0x3F, "+3F"}, {0x7F, "+7F"}, {0x80, "-80"},
      {0xC8, "-C8"}, {0xFF, "-FF"}, {0x0A, "+0A"},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(c.token, byteToToken(c.byte)) << "byte " << int(c.byte);
  }
}

TEST(ByteTokenTest, DecodesEveryKindOfValueToken) {
  const struct {
    const char* token;
    int32_t value;
  } kCases[] = {
      {"+00", 0},    {"+7F", 127}, {"-80", -128}, {"-FF", -1},
      {"-C8", -56},  {"+80", 128}, {"+FF", 255},  {"-7F", -129},
      {"-7E", -130}, {"+0A", 10},  {"+A0", 160},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(c.value, tokenToByte(c.token)) << "token " << c.token;
  }
}

TEST(ByteTokenTest, TextsThatAreNoTokenDecodeToZero) {
  const char* kNotTokens[] = {
      "+XX",  "",   "+7f", "-00", "-7D", "+100", "+00+04", " +05",
      "+05 ", "05", "*05", "-0G", "+",   "-",    "+G0",    "- 80",
  };
  for (const char* text : kNotTokens) {
    EXPECT_EQ(0, tokenToByte(text)) << "text \"" << text << "\"";
  }
  EXPECT_EQ(0, tokenToByte(std::string("+\0"
                                       "5",
                                       3)));
}

TEST(ByteTokenTest, EveryByteRoundTripsToItsSignedValue) {
  std::set<int32_t> seen;
  for (int b = 0; b < 256; ++b) {
    const int32_t value = tokenToByte(byteToToken(static_cast<uint8_t>(b)));
    EXPECT_EQ(static_cast<int8_t>(b), value) << "byte " << b;
    seen.insert(value);
  }
  EXPECT_EQ(256u, seen.size());
  EXPECT_EQ(-128, *seen.begin());
  EXPECT_EQ(127, *seen.rbegin());
}

}  // namespace
