// Huffman tables of the baseline encoder: optimal code lengths from symbol counts (T.81 K.2,
// Figures K.1 to K.4) and the canonical codes they define (T.81 Annex C).
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace lumora {

// Symbol counts of one table: DC categories or AC run/size symbols.
using JpegSymbolCounts = std::array<uint64_t, 256>;

enum class JpegTableClass { DC = 0, AC = 1 };

struct JpegHuffmanTable {
  std::array<uint8_t, 17> bits{};  // bits[n]: how many codes have n bits (bits[0] unused)
  std::vector<uint8_t> huffval;    // symbols by increasing code length, then value
  std::array<uint16_t, 256> code{};
  std::array<uint8_t, 256> size{};  // 0: the symbol has no code

  // T.81 K.2: code lengths of at most 16 bits with no all-ones code.
  static JpegHuffmanTable Optimal(const JpegSymbolCounts& counts, JpegTableClass tableClass,
                                  int32_t samplePrecision = 8);
  // T.81 C.2: canonical codes from bits and huffval; "Bad Huffman Table" when they do not make a
  // valid table of this class.
  void AssignCodes(JpegTableClass tableClass, int32_t samplePrecision = 8);
};

}  // namespace lumora
