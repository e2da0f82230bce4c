// Where the MySQL client library looks for its option files on each system
// (option_file_places_posix.cc, option_file_places_windows.cc), and how a
// person is told to name the one for their own settings.
#ifndef ZELKOR_PLATFORM_OPTION_FILE_PLACES_H_
#define ZELKOR_PLATFORM_OPTION_FILE_PLACES_H_

#include <string>
#include <vector>

// The files the client library reads, in its order. On Linux: /etc/my.cnf,
// /etc/mysql/my.cnf, my.cnf in $MARIADB_HOME (or else $MYSQL_HOME), then
// ~/.my.cnf. On Windows: my.ini, then my.cnf, in the Windows folder, in C:\,
// in the program's own folder and in %MARIADB_HOME% (or else %MYSQL_HOME%),
// each folder once.
std::vector<std::string> clientOptionFiles();

// The option file a user is told to write settings in: "~/.my.cnf" on
// Linux, "my.ini beside zelkor-generator.exe" on Windows.
const char* userOptionFileWords();

// The files "!includedir folder" names: folder/my.cnf on Linux,
// folder\my.ini and folder\my.cnf on Windows.
std::vector<std::string> includedFolderFiles(const std::string& folder);

#endif  // ZELKOR_PLATFORM_OPTION_FILE_PLACES_H_
