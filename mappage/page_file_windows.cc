#include "mappage/page_file.h"

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <vector>

#include "platform/file_facts.h"

namespace {

// The C library's error number nearest to what Windows said.
int errorNumberOf(DWORD windowsError) {
  switch (windowsError) {
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return EACCES;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_FILE_NOT_FOUND:
      return ENOENT;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return ENOSPC;
    default:
      return EIO;
  }
}

}  // namespace

Outcome<Done, PageFileFailure> replaceFile(const std::string& path,
                                           const std::string& text) {
  using Step = PageFileFailure::Step;
  using Replaced = Outcome<Done, PageFileFailure>;
  std::string pattern = path + ".tmp-XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  if (_mktemp_s(name.data(), name.size()) != 0) {
    return Replaced::failed({Step::kCreate, path, errno});
  }
  // Written as it stands: the page's line ends are its own.
  const std::wstring temporary = systemPath(name.data()).wstring();
  const int fd = _wopen(temporary.c_str(),
                        _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY,
                        _S_IREAD | _S_IWRITE);
  if (fd < 0) return Replaced::failed({Step::kCreate, path, errno});
  // Closes (unless closed) and removes the temporary file, keeping the
  // error of the step that failed.
  const auto fail = [&](Step step, int error, bool closed = false) {
    if (!closed) _close(fd);
    _wunlink(temporary.c_str());
    return Replaced::failed(
        {step, step == Step::kReplace ? path : name.data(), error});
  };
  size_t written = 0;
  while (written < text.size()) {
    const size_t chunk = std::min<size_t>(text.size() - written, 1 << 30);
    const int got = _write(fd, text.data() + written,
                           static_cast<unsigned>(chunk));
    if (got <= 0) return fail(Step::kWrite, errno);
    written += static_cast<size_t>(got);
  }
  // Who may read the page is the folder's to say on Windows: the new file
  // takes the folder's permissions, as any file made there does.
  if (_commit(fd) != 0) return fail(Step::kWrite, errno);
  if (_close(fd) != 0) return fail(Step::kWrite, errno, true);
  // A plain rename refuses an existing target on Windows.
  if (!MoveFileExW(temporary.c_str(), systemPath(path).wstring().c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return fail(Step::kReplace, errorNumberOf(GetLastError()), true);
  }
  return Done{};
}
