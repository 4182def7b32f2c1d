#include "imaging/RowHandover.h"

namespace lumora {

void RowHandover::Publish(int32_t rows) {
  m_rows.store(rows, std::memory_order_release);
  m_rows.notify_all();
}

void RowHandover::Abandon() {
  m_rows.store(kAbandoned, std::memory_order_release);
  m_rows.notify_all();
}

bool RowHandover::WaitForRow(int32_t y) const {
  for (;;) {
    const int32_t rows = m_rows.load(std::memory_order_acquire);
    if (rows == kAbandoned) return false;
    if (y < rows) return true;
    m_rows.wait(rows, std::memory_order_acquire);
  }
}

}  // namespace lumora
