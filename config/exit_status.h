// The exit statuses of both programs, in one table: which program ends with
// each, and how zelkor-map-page's --help names it. Only a program's main
// sequence chooses one; a POSIX shell sees the low 8 bits.
#ifndef ZELKOR_CONFIG_EXIT_STATUS_H_
#define ZELKOR_CONFIG_EXIT_STATUS_H_

#include <cstddef>

constexpr int kExitCompleted = 0;
constexpr int kExitGameDatabaseUnreadable = -1;
constexpr int kExitServerUnreachable = -2;
constexpr int kExitGameDatabaseDamaged = -3;
// Statements failed, or a database holding more than the webmap was not
// dropped: either way the webmap is not as it should be.
constexpr int kExitStatementsFailed = -4;
constexpr int kExitConfigurationInvalid = -99998;
constexpr int kExitConfigurationNotFound = -99999;

// zelkor-map-page's own: an unknown option, no webmap to draw (the database
// or its tables are missing), and a page that could not be written.
constexpr int kExitUsage = 2;
constexpr int kExitNoWebmap = -5;
constexpr int kExitPageNotWritten = -6;

// The programs that end with a status.
enum ExitStatusUser : unsigned {
  kByGenerator = 1,
  kByMapPage = 2,
  kByBoth = kByGenerator | kByMapPage,
};

struct ExitStatusEntry {
  int status;
  unsigned users;  // ExitStatusUser bits
  // How zelkor-map-page's --help names it (for the map page's statuses).
  const char* mapPageMeaning;
};

// Every status, in the order the map page's --help lists its own.
constexpr ExitStatusEntry kExitStatuses[] = {
    {kExitCompleted, kByBoth, "written"},
    {kExitUsage, kByMapPage, "wrong options"},
    {kExitGameDatabaseUnreadable, kByGenerator, nullptr},
    {kExitServerUnreachable, kByBoth, "server unreachable"},
    {kExitGameDatabaseDamaged, kByGenerator, nullptr},
    {kExitStatementsFailed, kByGenerator, nullptr},
    {kExitNoWebmap, kByMapPage, "no webmap to read"},
    {kExitPageNotWritten, kByMapPage, "page not written"},
    {kExitConfigurationInvalid, kByBoth, "config.txt invalid"},
    {kExitConfigurationNotFound, kByBoth, "config.txt not found"},
};

#endif  // ZELKOR_CONFIG_EXIT_STATUS_H_
