// One colour component of a capture: its identity, sampling factors, table choices and the store
// of its quantised blocks (T.81 A.1.1 for the dimensions).
#pragma once

#include <cstdint>
#include <memory>
#include <span>

namespace lumora {

struct JpegComponent {
  int32_t id = 0;          // 1, 2, 3 in component order
  int32_t H = 1, V = 1;    // sampling factors
  int32_t quantTable = 0;  // 0 for the first component, 1 for the others
  int32_t entropyTable = 0;  // DC and AC Huffman table: likewise
  int32_t cw = 0, ch = 0;  // sampled size: ceil(width x H / Hmax) x ceil(height x V / Vmax)
  int32_t pw = 0, ph = 0;  // padded to whole blocks
  // pw/8 x ph/8 blocks of 64 zigzag coefficients, blocks in raster order. Left uninitialised when
  // made: the capture writes every entry. Null when the capture transforms its blocks again
  // instead (JpegCapture::source).
  std::unique_ptr<int16_t[]> store;

  size_t StoreSize() const { return static_cast<size_t>(pw) * static_cast<size_t>(ph); }
  std::span<const int16_t> Store() const { return {store.get(), StoreSize()}; }

  int32_t BlocksAcross() const { return pw / 8; }
  int32_t BlocksDown() const { return ph / 8; }
  std::span<const int16_t, 64> Block(int32_t column, int32_t row) const {
    const size_t index = static_cast<size_t>(row) * static_cast<size_t>(BlocksAcross()) + static_cast<size_t>(column);
    return std::span<const int16_t, 64>(store.get() + 64 * index, 64);
  }
};

}  // namespace lumora
