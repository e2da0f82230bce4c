// Replacing a file so that a reader never sees half of it: the text goes to
// a temporary file beside the target, which is then renamed over it. The
// steps are written once (file_replacement.cc); each system makes its own
// calls for them (file_replacement_posix.cc, file_replacement_windows.cc).
#ifndef ZELKOR_PLATFORM_FILE_REPLACEMENT_H_
#define ZELKOR_PLATFORM_FILE_REPLACEMENT_H_

#include <string>

#include "base/outcome.h"

// Which step failed, on which file, with the C library's error number.
struct FileReplaceFailure {
  enum class Step { kCreate, kWrite, kSetMode, kReplace } step;
  // kCreate and kReplace: the target's path; otherwise the temporary file's.
  std::string file;
  int error = 0;
};

// Writes text to path (on Linux mode 0644, readable by a web server; on
// Windows with the folder's permissions). A failure leaves any file at path
// as it was and no temporary file behind.
Outcome<Done, FileReplaceFailure> replaceFile(const std::string& path,
                                              const std::string& text);

// The system's calls for the steps, each false (or -1) with errno set.
namespace file_replacement {
// Creates a new file beside path, whose name it sets, open for writing the
// bytes as they are: its descriptor, or -1.
int createBeside(const std::string& path, std::string& name);
bool writeAll(int fd, const std::string& text);
// Lets everyone read it (Linux); on Windows the folder decides.
bool letEveryoneRead(int fd);
bool flushToDisk(int fd);
bool closeFile(int fd);
// Renames from over to, replacing a file there.
bool renameOver(const std::string& from, const std::string& to);
void removeFile(const std::string& name);
}  // namespace file_replacement

#endif  // ZELKOR_PLATFORM_FILE_REPLACEMENT_H_
