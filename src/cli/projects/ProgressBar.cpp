#include "cli/projects/ProgressBar.h"

#include <unistd.h>

#include <cstdio>
#include <string>

namespace lumora::cli {

namespace {
constexpr size_t kBarWidth = 30;
}  // namespace

ProgressBar::ProgressBar(size_t total) : m_total(total), m_enabled(total > 1 && ::isatty(STDERR_FILENO) == 1) {
  if (m_enabled) draw();
}

ProgressBar::~ProgressBar() {
  if (m_enabled) std::fputc('\n', stderr);
}

void ProgressBar::Step() {
  ++m_done;
  if (m_enabled) draw();
}

void ProgressBar::Interrupt() {
  if (m_enabled) std::fputs("\r\033[K", stderr);
}

void ProgressBar::draw() const {
  const size_t filled = m_total == 0 ? 0 : m_done * kBarWidth / m_total;
  std::string bar(filled, '#');
  bar.resize(kBarWidth, '.');
  std::fprintf(stderr, "\r[%s] %zu/%zu", bar.c_str(), m_done, m_total);
  std::fflush(stderr);
}

}  // namespace lumora::cli
