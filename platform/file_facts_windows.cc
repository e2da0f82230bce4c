#include "platform/file_facts.h"

#include <windows.h>

namespace {

// A handle closed when it goes out of scope.
class UniqueHandle {
 public:
  explicit UniqueHandle(HANDLE handle) : handle_(handle) {}
  ~UniqueHandle() {
    if (valid()) CloseHandle(handle_);
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

// Opens path to read, a folder too, letting others read and write it
// meanwhile, as opening a file in C does.
HANDLE openToRead(const std::string& path) {
  return CreateFileA(path.c_str(), GENERIC_READ,
                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                     nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS,
                     nullptr);
}

}  // namespace

PathKind pathKind(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return PathKind::kMissing;
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return PathKind::kFolder;
  if (attributes & FILE_ATTRIBUTE_DEVICE) return PathKind::kOther;
  return PathKind::kFile;
}

bool mayRead(const std::string& path) {
  return UniqueHandle(openToRead(path)).valid();
}

bool readableByOthers(const std::string&) { return false; }

std::string canonicalPath(const std::string& path) {
  const UniqueHandle file(openToRead(path));
  if (file.valid()) {
    char resolved[MAX_PATH * 4];
    const DWORD length = GetFinalPathNameByHandleA(
        file.get(), resolved, sizeof resolved, FILE_NAME_NORMALIZED);
    if (length > 0 && length < sizeof resolved) return resolved;
  }
  char full[MAX_PATH * 4];
  const DWORD length =
      GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
  return length > 0 && length < sizeof full ? full : path;
}

BoundedRead readFileUpTo(const std::string& path, size_t limit,
                         std::string& text) {
  const UniqueHandle file(openToRead(path));
  if (!file.valid()) return BoundedRead::kCannotOpen;
  // A pipe, the console or a port would be read without end, and a folder
  // has no bytes: only a file on a disk is read.
  BY_HANDLE_FILE_INFORMATION information{};
  if (GetFileType(file.get()) != FILE_TYPE_DISK ||
      !GetFileInformationByHandle(file.get(), &information) ||
      (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return BoundedRead::kNotAFile;
  }
  char buffer[65536];
  text.clear();
  while (text.size() <= limit) {
    DWORD got = 0;
    if (!ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr)) {
      return BoundedRead::kNotAFile;
    }
    if (got == 0) return BoundedRead::kRead;
    text.append(buffer, got);
  }
  return BoundedRead::kTooLarge;
}
