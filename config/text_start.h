// How a settings file's first bytes say it was saved, as Windows Notepad
// saves one: plain (ANSI, or UTF-8 without a mark), UTF-8 with its byte
// order mark, or UTF-16 ("Unicode", with its two-byte mark, or an ASCII text
// with a NUL after each letter). config.txt skips the UTF-8 mark and refuses
// UTF-16; an option file, which the client library reads as it stands,
// refuses both.
#ifndef ZELKOR_CONFIG_TEXT_START_H_
#define ZELKOR_CONFIG_TEXT_START_H_

#include <string>

enum class TextStart { kPlain, kUtf8Mark, kUtf16 };

// The UTF-8 byte order mark's length, to skip it.
constexpr size_t kUtf8MarkLength = 3;

// start: the file's first bytes (three are enough; fewer in a shorter file).
inline TextStart textStartOf(const std::string& start) {
  if (start.compare(0, kUtf8MarkLength, "\xEF\xBB\xBF") == 0) {
    return TextStart::kUtf8Mark;
  }
  if (start.size() >= 2 &&
      (start.compare(0, 2, "\xFF\xFE") == 0 ||
       start.compare(0, 2, "\xFE\xFF") == 0 ||
       (start[0] != '\0' && start[1] == '\0'))) {
    return TextStart::kUtf16;
  }
  return TextStart::kPlain;
}

#endif  // ZELKOR_CONFIG_TEXT_START_H_
