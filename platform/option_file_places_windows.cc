#include <windows.h>

#include <algorithm>
#include <cstdlib>

#include "platform/option_file_places.h"

std::vector<std::string> clientOptionFiles() {
  // The folders in the library's order, each once (it compares them letter
  // for letter).
  std::vector<std::string> folders;
  const auto add = [&folders](const std::string& folder) {
    if (!folder.empty() &&
        std::find(folders.begin(), folders.end(), folder) == folders.end()) {
      folders.push_back(folder);
    }
  };
  char path[MAX_PATH + 1];
  if (GetSystemWindowsDirectoryA(path, sizeof path) > 0) add(path);
  if (GetWindowsDirectoryA(path, sizeof path) > 0) add(path);
  add("C:");
  const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  if (length > 0 && length < sizeof path) {
    std::string program(path, length);
    const size_t slash = program.find_last_of("\\/");
    if (slash != std::string::npos) add(program.substr(0, slash));
  }
  const char* home = std::getenv("MARIADB_HOME");
  if (home == nullptr) home = std::getenv("MYSQL_HOME");
  if (home != nullptr) add(home);
  std::vector<std::string> files;
  for (const std::string& folder : folders) {
    for (const std::string& file : includedFolderFiles(folder)) {
      files.push_back(file);
    }
  }
  return files;
}

std::vector<std::string> includedFolderFiles(const std::string& folder) {
  return {folder + "\\my.ini", folder + "\\my.cnf"};
}

// The client library reads my.ini in the programs' own folder; both
// programs are unpacked into one.
const char* userOptionFileWords() {
  return "my.ini beside zelkor-generator.exe";
}
