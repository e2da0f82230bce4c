#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <vector>

#include "platform/file_facts.h"
#include "platform/file_replacement.h"

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

namespace file_replacement {

int createBeside(const std::string& path, std::string& name) {
  const std::string pattern = path + ".tmp-XXXXXX";
  std::vector<char> chosen(pattern.begin(), pattern.end());
  chosen.push_back('\0');
  if (_mktemp_s(chosen.data(), chosen.size()) != 0) return -1;
  // Written as it stands: the text's line ends are its own.
  const int fd = _wopen(systemPath(chosen.data()).wstring().c_str(),
                        _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY,
                        _S_IREAD | _S_IWRITE);
  if (fd >= 0) name = chosen.data();
  return fd;
}

bool writeAll(int fd, const std::string& text) {
  size_t written = 0;
  while (written < text.size()) {
    const size_t chunk = std::min<size_t>(text.size() - written, 1 << 30);
    const int got = _write(fd, text.data() + written,
                           static_cast<unsigned>(chunk));
    if (got <= 0) return false;
    written += static_cast<size_t>(got);
  }
  return true;
}

// Who may read the file is the folder's to say on Windows: the new file
// takes the folder's permissions, as any file made there does.
bool letEveryoneRead(int) { return true; }

bool flushToDisk(int fd) { return _commit(fd) == 0; }

bool closeFile(int fd) { return _close(fd) == 0; }

bool renameOver(const std::string& from, const std::string& to) {
  // A plain rename refuses an existing target on Windows.
  if (MoveFileExW(systemPath(from).wstring().c_str(),
                  systemPath(to).wstring().c_str(),
                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return true;
  }
  errno = errorNumberOf(GetLastError());
  return false;
}

void removeFile(const std::string& name) {
  _wunlink(systemPath(name).wstring().c_str());
}

}  // namespace file_replacement
