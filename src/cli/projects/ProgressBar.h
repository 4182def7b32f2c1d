// The batch render's progress on stderr, redrawn in place; silent unless stderr is a terminal.
#pragma once

#include <cstddef>

namespace lumora::cli {

// "[#####.....] 12/40"
class ProgressBar {
 public:
  explicit ProgressBar(size_t total);
  ~ProgressBar();  // ends the line
  ProgressBar(const ProgressBar&) = delete;
  ProgressBar& operator=(const ProgressBar&) = delete;

  void Step();
  // A message printed while the bar shows goes on its own line.
  void Interrupt();

 private:
  void draw() const;

  size_t m_total;
  size_t m_done = 0;
  bool m_enabled;
};

}  // namespace lumora::cli
