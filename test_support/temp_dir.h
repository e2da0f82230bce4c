// A scratch directory for one test, removed with everything in it when the
// test ends.
#ifndef ZELKOR_TEST_SUPPORT_TEMP_DIR_H_
#define ZELKOR_TEST_SUPPORT_TEMP_DIR_H_

#include <string>

class ScopedTempDir {
 public:
  ScopedTempDir();
  ~ScopedTempDir();
  ScopedTempDir(const ScopedTempDir&) = delete;
  ScopedTempDir& operator=(const ScopedTempDir&) = delete;

  const std::string& path() const { return path_; }
  // path() + "/" + name
  std::string file(const std::string& name) const;
  // Writes bytes to the file name inside the directory; returns its path.
  std::string write(const std::string& name, const std::string& bytes) const;

 private:
  std::string path_;
};

std::string readWholeFile(const std::string& path);

// How often what stands in text (overlapping finds counted too).
size_t occurrences(const std::string& text, const std::string& what);

#endif  // ZELKOR_TEST_SUPPORT_TEMP_DIR_H_
