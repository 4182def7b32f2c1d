// The LZW coder of GIF89a (Appendix F): variable-width codes up to 12 bits, a table reset at
// 4096 codes, and the codes the string table of the classic UNIX compress program (a 5003-slot
// open addressing hash with its probing) gives, packed into data sub-blocks of 254 bytes.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace lumora {

class GifLzwEncoder {
 public:
  // codeSize is the LZW minimum code size (2..8); masks[i] = 2^i - 1 for i = 0..16.
  GifLzwEncoder(int codeSize, std::span<const uint32_t, 17> masks);

  // Appends the data sub-blocks for the rows, in the order given, each width pixels (indices
  // below 2^codeSize); the block terminator is the caller's. At least one pixel. beforeRow, when
  // given, is called with a row's place in rows before any of its pixels is read.
  void Encode(std::span<const uint8_t* const> rows, int32_t width, std::vector<uint8_t>& out,
              const std::function<void(size_t)>& beforeRow = {});

 private:
  std::span<const uint32_t, 17> m_masks;
  uint32_t m_initialWidth;
  uint32_t m_clearCode;
  uint32_t m_endCode;
};

}  // namespace lumora
