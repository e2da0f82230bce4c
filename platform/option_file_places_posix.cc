#include <cstdlib>

#include "platform/option_file_places.h"

std::vector<std::string> clientOptionFiles() {
  std::vector<std::string> files = {"/etc/my.cnf", "/etc/mysql/my.cnf"};
  const char* home = std::getenv("MARIADB_HOME");
  if (home == nullptr) home = std::getenv("MYSQL_HOME");
  if (home != nullptr) files.push_back(std::string(home) + "/my.cnf");
  if (const char* user = std::getenv("HOME")) {
    files.push_back(std::string(user) + "/.my.cnf");
  }
  return files;
}

std::vector<std::string> includedFolderFiles(const std::string& folder) {
  return {folder + "/my.cnf"};
}

const char* userOptionFileWords() { return "~/.my.cnf"; }
