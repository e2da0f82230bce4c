// Text in lower case, letter by letter in the C locale: how names that are
// compared without regard to case (option names, table names, object
// kinds) are compared.
#ifndef ZELKOR_BASE_LOWER_CASE_H_
#define ZELKOR_BASE_LOWER_CASE_H_

#include <algorithm>
#include <cctype>
#include <string>

inline std::string lowerCase(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) {
    return static_cast<char>(std::tolower(c));
  });
  return text;
}

#endif  // ZELKOR_BASE_LOWER_CASE_H_
