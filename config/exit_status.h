// The exit statuses of both programs. Only a program's main sequence
// chooses one; a POSIX shell sees the low 8 bits (0, 255, 254, 253, 252,
// 251, 250, 98, 97, and 2).
#ifndef ZELKOR_CONFIG_EXIT_STATUS_H_
#define ZELKOR_CONFIG_EXIT_STATUS_H_

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

#endif  // ZELKOR_CONFIG_EXIT_STATUS_H_
