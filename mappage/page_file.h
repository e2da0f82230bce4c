// Writing the page so that a web server never serves half of it: the text
// goes to a temporary file beside the target, which is then renamed over it.
#ifndef ZELKOR_MAPPAGE_PAGE_FILE_H_
#define ZELKOR_MAPPAGE_PAGE_FILE_H_

#include <string>

#include "base/outcome.h"

// Which step failed, on which file, with the system's error number.
struct PageFileFailure {
  enum class Step { kCreate, kWrite, kSetMode, kReplace } step;
  // kCreate and kReplace: the page's path; otherwise the temporary file's.
  std::string file;
  int error = 0;
};

// Writes text to path (on Linux mode 0644, readable by the web server; on
// Windows with the folder's permissions). A failure leaves any file at path
// as it was and no temporary file behind. (page_file_posix.cc,
// page_file_windows.cc)
Outcome<Done, PageFileFailure> replaceFile(const std::string& path,
                                           const std::string& text);

#endif  // ZELKOR_MAPPAGE_PAGE_FILE_H_
