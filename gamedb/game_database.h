// Loading of the game database: the whole file, read in one request into one
// buffer sized by seeking to its end. Every later decoding step works on this
// buffer only, never on the file.
#ifndef ZELKOR_GAMEDB_GAME_DATABASE_H_
#define ZELKOR_GAMEDB_GAME_DATABASE_H_

#include <cstdint>
#include <memory>
#include <ostream>
#include <string>

#include "base/outcome.h"

struct GameDatabaseBuffer {
  std::unique_ptr<uint8_t[]> bytes;  // the file's bytes exactly as stored
  int32_t length = 0;
};

// A game database that cannot be read: it is missing, not a regular file,
// shorter than measured, 2 GiB or larger, or too large to allocate.
struct UnreadableGameDatabase {
  std::string path;       // as config.txt names it
  std::string wholePath;  // the path tried, made whole from the working folder
  enum class Why {
    kMissing,     // nothing there
    kFolder,      // a folder
    kNotAFile,    // a pipe or a device
    kNotAllowed,  // a file this process may not read
    kTooLarge,    // 2 GiB or larger
    kCutShort,    // shorter than measured, or no memory for it
  } why;
};

// Writes the opening and the closing progress lines whatever happens.
Outcome<GameDatabaseBuffer, UnreadableGameDatabase> loadGameDatabase(
    std::ostream& out, const std::string& path);

#endif  // ZELKOR_GAMEDB_GAME_DATABASE_H_
