// The row filters of PNG files for 8-bit RGB or RGBA rows, and the choice among them by the smallest sum
// of absolute differences (each filtered byte read as a signed number), which keeps photographs
// small for the compressor at the cost of one pass over the row.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace lumora {

enum class PngFilter : uint8_t { None = 0, Sub = 1, Up = 2, Average = 3, Paeth = 4 };

class PngRowFilter {
 public:
  // Pixels of 3 bytes (RGB) or 4 (RGBA).
  explicit PngRowFilter(size_t rowBytes, size_t pixelBytes = 3);

  // Where the next row's rowBytes bytes go before Filter.
  uint8_t* Row() { return m_row.data() + m_pixelBytes; }
  // Writes the filter type and the filtered row (1 + rowBytes bytes) for the row just filled,
  // under the one filtered before it (a row of zeros at first), and returns the type chosen.
  PngFilter Filter(uint8_t* out);

 private:
  size_t m_rowBytes;
  size_t m_pixelBytes;
  // Both rows start with one pixel of zeros (the left neighbour of the first pixel) and end
  // with zeros up to a whole number of vector steps.
  std::vector<uint8_t> m_row;
  std::vector<uint8_t> m_above;
  std::vector<uint8_t> m_candidates;  // Sub, Up, Average and Paeth rows, one after the other
};

}  // namespace lumora
