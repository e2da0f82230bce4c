#include "driver/game_database.h"

#include <sys/stat.h>

#include <fstream>
#include <limits>
#include <new>

namespace {

// A FIFO or device would block the open or never end; a directory has no
// bytes to read. Only a regular file (or one that is missing, which the open
// then reports) goes on to be read.
bool isRegularOrMissing(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) return true;
  return S_ISREG(info.st_mode);
}

// The file's size as the difference of two read positions; -1 positions for
// a file that cannot be opened give 0.
int64_t measure(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::streamoff start = -1;
  std::streamoff end = -1;
  if (in.good()) start = in.tellg();
  if (in.good()) in.seekg(0, std::ios::end);
  if (in.good()) end = in.tellg();
  return static_cast<int64_t>(end - start);
}

}  // namespace

bool loadGameDatabase(std::ostream& out, const std::string& path,
                      GameDatabaseBuffer& buffer,
                      const BeforeReadHook& beforeRead) {
  const bool regular = isRegularOrMissing(path);
  const int64_t length = regular ? measure(path) : -1;
  const bool fits =
      length >= 0 && length <= std::numeric_limits<int32_t>::max();
  std::unique_ptr<uint8_t[]> bytes;
  if (fits) bytes.reset(new (std::nothrow) uint8_t[length > 0 ? length : 1]);
  if (beforeRead) beforeRead();

  std::ifstream in;
  if (bytes) in.open(path, std::ios::binary);
  out << "Info:   Opening database and reading data...\n";
  bool good = false;
  if (bytes && in.is_open()) {
    in.read(reinterpret_cast<char*>(bytes.get()), length);
    good = !in.fail() && in.gcount() == length;
    in.close();
    good = good && !in.fail();
  }
  out << "Info:   Database closed.\n";
  if (!good) return false;

  buffer.bytes = std::move(bytes);
  buffer.length = static_cast<int32_t>(length);
  return true;
}

std::string unreadableGameDatabaseText(const std::string& path) {
  return "Fatal:  Couldn't find Quarrion database!\n"
         "Fatal:  Error (-1) encountered. Shutting down.\n"
         "Path: " +
         path +
         "\n"
         "\nPress any key to exit...";
}
