#include "gamedb/game_database.h"

#include <fstream>
#include <limits>
#include <new>

#include "platform/file_facts.h"

namespace {

// The size of the file at path, or -1 when it is not a regular file that can
// be opened: a FIFO or device would block the open or never end, and a
// directory has no bytes to read.
int64_t measure(const std::string& path) {
  if (pathKind(path) != PathKind::kFile) return -1;
  std::ifstream in(systemPath(path), std::ios::binary);
  if (!in.seekg(0, std::ios::end)) return -1;
  return static_cast<int64_t>(in.tellg());
}

// Reads exactly length bytes of the file at path into a new buffer; null when
// it cannot be allocated, opened or gives fewer bytes.
std::unique_ptr<uint8_t[]> readExactly(const std::string& path,
                                       int64_t length) {
  std::unique_ptr<uint8_t[]> bytes(new (std::nothrow)
                                       uint8_t[length > 0 ? length : 1]);
  if (!bytes) return nullptr;
  std::ifstream in(systemPath(path), std::ios::binary);
  if (!in.read(reinterpret_cast<char*>(bytes.get()), length) ||
      in.gcount() != length) {
    return nullptr;
  }
  return bytes;
}

// Why the file at path gave no buffer, looked at once it did not.
UnreadableGameDatabase::Why whyUnreadable(const std::string& path,
                                          int64_t length) {
  using Why = UnreadableGameDatabase::Why;
  switch (pathKind(path)) {
    case PathKind::kMissing:
      return Why::kMissing;
    case PathKind::kFolder:
      return Why::kFolder;
    case PathKind::kOther:
      return Why::kNotAFile;
    case PathKind::kFile:
      break;
  }
  if (!mayRead(path)) return Why::kNotAllowed;
  if (length > std::numeric_limits<int32_t>::max()) return Why::kTooLarge;
  return Why::kCutShort;
}

}  // namespace

Outcome<GameDatabaseBuffer, UnreadableGameDatabase> loadGameDatabase(
    std::ostream& out, const std::string& path) {
  const int64_t length = measure(path);
  const bool fits =
      length >= 0 && length <= std::numeric_limits<int32_t>::max();
  out << "Info:   Opening database and reading data...\n";
  std::unique_ptr<uint8_t[]> bytes = fits ? readExactly(path, length) : nullptr;
  out << "Info:   Database closed.\n";
  if (!bytes) {
    return Outcome<GameDatabaseBuffer, UnreadableGameDatabase>::failed(
        {path, absolutePath(path), whyUnreadable(path, length)});
  }
  GameDatabaseBuffer buffer;
  buffer.bytes = std::move(bytes);
  buffer.length = static_cast<int32_t>(length);
  return buffer;
}
