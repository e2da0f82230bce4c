// Writing the page so that a web server never serves half of it: the text
// goes to a temporary file beside the target, which is then renamed over it.
#ifndef ZELKOR_MAPPAGE_PAGE_FILE_H_
#define ZELKOR_MAPPAGE_PAGE_FILE_H_

#include <string>

// Writes text to path (mode 0644, readable by the web server). Returns
// false with the reason in error, leaving any file at path as it was and no
// temporary file behind.
bool replaceFile(const std::string& path, const std::string& text,
                 std::string& error);

#endif  // ZELKOR_MAPPAGE_PAGE_FILE_H_
