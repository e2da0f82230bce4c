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

std::wstring wide(const std::string& text) {
  return systemPath(text).wstring();
}

// Opens path to read, a folder too, letting others read and write it
// meanwhile, as opening a file in C does.
HANDLE openToRead(const std::string& path) {
  return CreateFileW(wide(path).c_str(), GENERIC_READ,
                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                     nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS,
                     nullptr);
}

}  // namespace

std::filesystem::path systemPath(const std::string& text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const bool utf8 = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS,
                                        text.data(), size, nullptr, 0) > 0;
  const UINT page = utf8 ? CP_UTF8 : CP_ACP;
  std::wstring converted(
      MultiByteToWideChar(page, 0, text.data(), size, nullptr, 0), L'\0');
  MultiByteToWideChar(page, 0, text.data(), size, converted.data(),
                      static_cast<int>(converted.size()));
  return converted;
}

PathKind pathKind(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(wide(path).c_str());
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
    wchar_t resolved[MAX_PATH * 4];
    const DWORD length = GetFinalPathNameByHandleW(
        file.get(), resolved, MAX_PATH * 4, FILE_NAME_NORMALIZED);
    if (length > 0 && length < MAX_PATH * 4) {
      return std::filesystem::path(resolved).u8string();
    }
  }
  wchar_t full[MAX_PATH * 4];
  const DWORD length =
      GetFullPathNameW(wide(path).c_str(), MAX_PATH * 4, full, nullptr);
  return length > 0 && length < MAX_PATH * 4
             ? std::filesystem::path(full).u8string()
             : path;
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
