#include "driver/progress_line.h"

ProgressLine::~ProgressLine() {
  if (drawn_) std::fprintf(terminal_, "\r%*s\r", width_, "");
}

void ProgressLine::update(int32_t done, int32_t total) {
  const auto now = std::chrono::steady_clock::now();
  if (total <= 0 || (drawn_ && now - last_ < std::chrono::milliseconds(200) &&
                     done != total)) {
    return;
  }
  last_ = now;
  drawn_ = true;
  width_ = std::fprintf(terminal_, "\rWriting hexes: %d of %d (%d%%)", done,
                        total, static_cast<int>(100LL * done / total));
  std::fflush(terminal_);
}
