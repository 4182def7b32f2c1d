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
  struct Slot {
    int32_t key;   // (pixel << 12) + prefix code, -1 when empty
    int32_t code;  // the code of that string
  };

  void reset();
  void clearTable();
  void emit(int32_t code);
  void putByte(uint8_t byte);
  void flushBlock();

  std::span<const uint32_t, 17> m_masks;
  int m_initialWidth;
  int32_t m_clearCode;
  int32_t m_endCode;

  int m_width = 0;          // current code width in bits
  int32_t m_largest = 0;    // the largest code the width holds (4096 at 12 bits: never widen)
  int32_t m_nextFree = 0;   // the code the next new string gets
  bool m_clearPending = false;
  uint32_t m_accumulator = 0;  // pending bits, fewer than 8 between codes
  int m_bitCount = 0;
  std::array<uint8_t, 255> m_block{};  // length byte, then up to 254 data bytes
  int m_blockLength = 0;
  std::vector<uint8_t>* m_out = nullptr;
  std::array<Slot, kHashSize> m_table{};
};

}  // namespace lumora
