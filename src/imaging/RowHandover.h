// Rows of a picture passed from the thread that fills them to a thread that reads them as soon
// as they are final, top row first.
#pragma once

#include <atomic>
#include <cstdint>

namespace lumora {

class RowHandover {
 public:
  // Rows 0 .. rows - 1 are final (a count never goes down).
  void Publish(int32_t rows);
  // The filling thread failed: waiting ends for everyone.
  void Abandon();
  // Blocks until row y is final. False when the rows were abandoned instead.
  bool WaitForRow(int32_t y) const;

 private:
  static constexpr int32_t kAbandoned = INT32_MIN;
  std::atomic<int32_t> m_rows{0};
};

}  // namespace lumora
