#include "cli/QuietStderr.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

namespace lumora::cli {

QuietStderr::QuietStderr() {
  std::fflush(stderr);
  const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
  if (null < 0) return;
  m_saved = ::dup(STDERR_FILENO);
  if (m_saved >= 0) ::dup2(null, STDERR_FILENO);
  ::close(null);
}

QuietStderr::~QuietStderr() {
  if (m_saved < 0) return;
  std::fflush(stderr);
  ::dup2(m_saved, STDERR_FILENO);
  ::close(m_saved);
}

}  // namespace lumora::cli
