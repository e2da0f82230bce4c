// The exit statuses of a run. Only the driver chooses one; a POSIX shell sees
// the low 8 bits (0, 255, 254, 253, 252, 98, 97).
#ifndef ZELKOR_DRIVER_EXIT_STATUS_H_
#define ZELKOR_DRIVER_EXIT_STATUS_H_

constexpr int kExitCompleted = 0;
constexpr int kExitGameDatabaseUnreadable = -1;
constexpr int kExitServerUnreachable = -2;
constexpr int kExitGameDatabaseDamaged = -3;
// Statements failed, or a database holding more than the webmap was not
// dropped: either way the webmap is not as it should be.
constexpr int kExitStatementsFailed = -4;
constexpr int kExitConfigurationInvalid = -99998;
constexpr int kExitConfigurationNotFound = -99999;

#endif  // ZELKOR_DRIVER_EXIT_STATUS_H_
