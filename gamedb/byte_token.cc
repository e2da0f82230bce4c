#include "gamedb/byte_token.h"

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

// Upper-case hexadecimal digit value, or -1 (lower case is no token digit).
int hexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::string byteToToken(uint8_t byte) {
  std::string token(3, ' ');
  token[0] = byte < 0x80 ? '+' : '-';
  token[1] = kHexDigits[byte >> 4];
  token[2] = kHexDigits[byte & 0x0F];
  return token;
}

int32_t tokenToByte(const std::string& token) {
  if (token.size() != 3) return 0;
  const int high = hexDigitValue(token[1]);
  const int low = hexDigitValue(token[2]);
  if (high < 0 || low < 0) return 0;
  const int digits = high * 16 + low;
  if (token[0] == '+') return digits;
  // Negative tokens carry value + 256, so they exist for -130 ... -1 only.
  if (token[0] == '-' && digits >= 0x7E) return digits - 256;
  return 0;
}
