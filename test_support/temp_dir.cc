#include "test_support/temp_dir.h"

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

ScopedTempDir::ScopedTempDir() {
  // A new name each time: create_directory says whether it made the folder
  // or found one there. (Windows' C library has no mkdtemp.)
  std::random_device seed;
  std::mt19937_64 names(seed());
  const std::filesystem::path base = std::filesystem::temp_directory_path();
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::filesystem::path candidate =
        base / ("zelkor-test-" + std::to_string(names() % 1000000000));
    std::error_code error;
    if (std::filesystem::create_directory(candidate, error)) {
      std::filesystem::permissions(candidate, std::filesystem::perms::owner_all,
                                   std::filesystem::perm_options::replace,
                                   error);
      path_ = candidate.string();
      return;
    }
  }
  throw std::runtime_error("cannot create a temporary directory");
}

ScopedTempDir::~ScopedTempDir() {
  std::error_code ignored;
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ignored);
  std::filesystem::remove_all(path_, ignored);
}

std::string ScopedTempDir::file(const std::string& name) const {
  return path_ + "/" + name;
}

std::string ScopedTempDir::write(const std::string& name,
                                 const std::string& bytes) const {
  const std::string target = file(name);
  std::ofstream out(target, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + target);
  return target;
}

std::string readWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

size_t occurrences(const std::string& text, const std::string& what) {
  size_t count = 0;
  for (size_t at = text.find(what); at != std::string::npos;
       at = text.find(what, at + 1)) {
    ++count;
  }
  return count;
}
