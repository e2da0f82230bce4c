#include "platform/file_facts.h"

#include <system_error>

std::string absolutePath(const std::string& path) {
  std::error_code error;
  const std::filesystem::path whole =
      std::filesystem::absolute(systemPath(path), error);
  return error ? path : whole.lexically_normal().u8string();
}

