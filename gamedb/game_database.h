// Loading of the game database: the whole file, read in one request into one
// buffer sized by seeking to its end. Every later decoding step works on this
// buffer only, never on the file.
#ifndef ZELKOR_GAMEDB_GAME_DATABASE_H_
#define ZELKOR_GAMEDB_GAME_DATABASE_H_

#include <cstdint>
#include <memory>
#include <ostream>
#include <string>

struct GameDatabaseBuffer {
  std::unique_ptr<uint8_t[]> bytes;  // the file's bytes exactly as stored
  int32_t length = 0;
};

// Writes the opening and the closing progress lines whatever happens. Returns
// false when the file cannot be read: it is missing, not a regular file,
// shorter than measured, 2 GiB or larger, or too large to allocate.
bool loadGameDatabase(std::ostream& out, const std::string& path,
                      GameDatabaseBuffer& buffer);

// The text of the stop for a game database that cannot be read, as it has
// always read: it ends with an empty line, which the prompt follows.
std::string unreadableGameDatabaseText(const std::string& path);

// That stop's prompt: after the empty line, without a line break.
constexpr char kUnreadableGameDatabasePrompt[] = "Press any key to exit...";

#endif  // ZELKOR_GAMEDB_GAME_DATABASE_H_
