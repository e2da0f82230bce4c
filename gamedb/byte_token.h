// Byte tokens: the three-character text form in which every inspected byte of
// the game database travels, a sign ("+" below 0x80, "-" from 0x80) and the
// byte's value in two upper-case hexadecimal digits: 0x3F is "+3F", 0xC8 "-C8".
#ifndef ZELKOR_GAMEDB_BYTE_TOKEN_H_
#define ZELKOR_GAMEDB_BYTE_TOKEN_H_

#include <cstdint>
#include <string>

// The token of one byte: "+00" ... "+7F" for 0x00 ... 0x7F, "-80" ... "-FF"
// for 0x80 ... 0xFF.
std::string byteToToken(uint8_t byte);

// The value of a value token: "+00" ... "+FF" give 0 ... 255, "-FF" ... "-80"
// give -1 ... -128, "-7F" and "-7E" give -129 and -130. Any other text ("+XX",
// lower-case digits, "-00" ... "-7D", blanks, other lengths) gives 0.
int32_t tokenToByte(const std::string& token);

#endif  // ZELKOR_GAMEDB_BYTE_TOKEN_H_
