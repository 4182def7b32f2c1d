// Keeps decoder libraries from writing to stderr (libpng reports a damaged file itself before Qt
// does) while it lives; lumora-cli says what went wrong in one line of its own.
#pragma once

namespace lumora::cli {

class QuietStderr {
 public:
  QuietStderr();
  ~QuietStderr();
  QuietStderr(const QuietStderr&) = delete;
  QuietStderr& operator=(const QuietStderr&) = delete;

 private:
  int m_saved = -1;
};

}  // namespace lumora::cli
