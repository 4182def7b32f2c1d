#include "imaging/PngRowFilter.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <utility>

namespace lumora {

namespace {

// Eight bytes at a time, widened to 16 bits so differences and sums keep their signs; the
// compiler maps these vector types onto whatever vector unit the target has (SSE2 at least on x86-64).
constexpr size_t kLanes = 8;
using Bytes = uint8_t __attribute__((vector_size(kLanes)));
using Words = int16_t __attribute__((vector_size(2 * kLanes)));

// Cost sums of up to 128 per lane and step stay inside 16 bits for this many steps.
constexpr size_t kStepsPerFlush = 255;

Words Load(const uint8_t* p) {
  Bytes bytes;
  std::memcpy(&bytes, p, sizeof bytes);
  return __builtin_convertvector(bytes, Words);
}

// Keeps the low byte of each lane, the filtered byte modulo 256.
Words Store(uint8_t* p, Words value) {
  const Bytes bytes = __builtin_convertvector(value, Bytes);
  std::memcpy(p, &bytes, sizeof bytes);
  return value;
}

Words Absolute(Words v) { return v < 0 ? -v : v; }

// The filtered byte's distance from zero, the byte read as a signed number.
Words Cost(Words filtered) {
  const Words low = filtered & 0xFF;
  return low < 128 ? low : 256 - low;
}

int64_t Total(Words sums) {
  int64_t total = 0;
  for (size_t lane = 0; lane < kLanes; ++lane) total += sums[lane];
  return total;
}

size_t Padded(size_t rowBytes) { return (rowBytes + kLanes - 1) / kLanes * kLanes; }

}  // namespace

PngRowFilter::PngRowFilter(size_t rowBytes, size_t pixelBytes)
    : m_rowBytes(rowBytes),
      m_pixelBytes(pixelBytes),
      m_row(pixelBytes + Padded(rowBytes)),
      m_above(m_row.size()),
      m_candidates(4 * Padded(rowBytes)) {}

PngFilter PngRowFilter::Filter(uint8_t* out) {
  const size_t n = m_rowBytes, stride = Padded(n);
  const uint8_t* const row = m_row.data() + m_pixelBytes;
  const uint8_t* const above = m_above.data() + m_pixelBytes;
  uint8_t* const sub = m_candidates.data();
  uint8_t* const up = sub + stride;
  uint8_t* const average = up + stride;
  uint8_t* const paeth = average + stride;
  Words lane;
  for (size_t i = 0; i < kLanes; ++i) lane[i] = static_cast<int16_t>(i);

  int64_t costs[5] = {};
  Words sums[5] = {};
  for (size_t i = 0, step = 0; i < n; i += kLanes, ++step) {
    // a is the byte one pixel to the left, b the one above, c the one above a.
    const Words x = Load(row + i), a = Load(row + i - m_pixelBytes);
    const Words b = Load(above + i), c = Load(above + i - m_pixelBytes);
    const Words pa = Absolute(b - c), pb = Absolute(a - c), pc = Absolute(a + b - 2 * c);
    const Words nearer = pb < pa ? b : a;
    const Words predicted = (pa < pb ? pa : pb) <= pc ? nearer : c;
    // Lanes past the end of the row count for nothing.
    const Words inside = lane < static_cast<int16_t>(std::min(n - i, kLanes));
    sums[0] += Cost(x) & inside;
    sums[1] += Cost(Store(sub + i, x - a)) & inside;
    sums[2] += Cost(Store(up + i, x - b)) & inside;
    sums[3] += Cost(Store(average + i, x - ((a + b) >> 1))) & inside;
    sums[4] += Cost(Store(paeth + i, x - predicted)) & inside;
    if ((step + 1) % kStepsPerFlush == 0 || i + kLanes >= n)
      for (size_t k = 0; k < 5; ++k) costs[k] += Total(std::exchange(sums[k], Words{}));
  }
  // Ties go to the simpler filter, in the order of the types.
  const auto best = static_cast<size_t>(std::min_element(std::begin(costs), std::end(costs)) - std::begin(costs));
  out[0] = static_cast<uint8_t>(best);
  std::memcpy(out + 1, best == 0 ? row : sub + (best - 1) * stride, n);
  std::swap(m_row, m_above);
  return static_cast<PngFilter>(best);
}

}  // namespace lumora
