#include "platform/file_replacement.h"

#include <cerrno>

Outcome<Done, FileReplaceFailure> replaceFile(const std::string& path,
                                              const std::string& text) {
  using namespace file_replacement;
  using Step = FileReplaceFailure::Step;
  using Replaced = Outcome<Done, FileReplaceFailure>;
  std::string name;
  const int fd = createBeside(path, name);
  if (fd < 0) return Replaced::failed({Step::kCreate, path, errno});
  // Closes (unless closed) and removes the temporary file, keeping the
  // error of the step that failed.
  const auto fail = [&](Step step, bool closed = false) {
    const int error = errno;
    if (!closed) closeFile(fd);
    removeFile(name);
    return Replaced::failed({step, step == Step::kReplace ? path : name, error});
  };
  if (!writeAll(fd, text)) return fail(Step::kWrite);
  if (!letEveryoneRead(fd)) return fail(Step::kSetMode);
  if (!flushToDisk(fd)) return fail(Step::kWrite);
  if (!closeFile(fd)) return fail(Step::kWrite, true);
  if (!renameOver(name, path)) return fail(Step::kReplace, true);
  return Done{};
}
