// The upload's progress as one line on a terminal, redrawn at most five
// times a second and erased at the end, for users who watch a long upload to
// a remote server. The driver shows it only when standard error is a
// terminal, so logs and scripts never see it.
#ifndef ZELKOR_DRIVER_PROGRESS_LINE_H_
#define ZELKOR_DRIVER_PROGRESS_LINE_H_

#include <chrono>
#include <cstdint>
#include <cstdio>

#include "webmap/hex_upload.h"

class ProgressLine : public UploadProgress {
 public:
  explicit ProgressLine(std::FILE* terminal) : terminal_(terminal) {}
  ~ProgressLine() override;  // erases the line
  ProgressLine(const ProgressLine&) = delete;
  ProgressLine& operator=(const ProgressLine&) = delete;

  // "Writing hexes: 12 of 240 (5%)"
  void update(int32_t done, int32_t total) override;

 private:
  std::FILE* terminal_;
  bool drawn_ = false;
  int width_ = 0;
  std::chrono::steady_clock::time_point last_;
};

#endif  // ZELKOR_DRIVER_PROGRESS_LINE_H_
