// The LZW coder of GIF89a (Appendix F): variable-width codes up to 12 bits, a table reset at
// 4096 codes, and the string table of the classic UNIX compress program (a 5003-slot open
// addressing hash with its probing), packed into data sub-blocks of 254 bytes.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace lumora {

class GifLzwEncoder {
 public:
  // codeSize is the LZW minimum code size (2..8); masks[i] = 2^i - 1 for i = 0..16.
  GifLzwEncoder(int codeSize, std::span<const uint32_t, 17> masks);

  // Appends the data sub-blocks for the rows, in the order given, each width pixels (indices
  // below 2^codeSize); the block terminator is the caller's. At least one pixel.
  void Encode(std::span<const uint8_t* const> rows, int32_t width, std::vector<uint8_t>& out);

  static constexpr int kHashSize = 5003;  // a prime about 1.2 x 4096
  static constexpr int kMaxCodes = 4096;  // 12-bit codes

 private:
  std::span<const uint32_t, 17> m_masks;
  int m_initialWidth;
  int32_t m_clearCode;
  int32_t m_endCode;
  // Slot = code << 20 | key, key = (pixel << 12) + prefix code; 0 when empty (no string has
  // code 0). One 32-bit word a slot keeps the table in the first-level cache.
  std::array<uint32_t, kHashSize> m_table{};
};

}  // namespace lumora
