// Baseline Huffman coding of one 8 x 8 block (T.81 F.1.2.1 for the DC difference, F.1.2.2 for the
// AC run/size symbols): a counting pass that gathers the symbol statistics and a coding pass that
// emits the same symbols through the tables built from them.
#pragma once

#include <bit>
#include <cstdint>
#include <span>

#include "imaging/JpegBitWriter.h"
#include "imaging/JpegHuffman.h"

namespace lumora {

// Bits needed for |value| (the category or size of T.81 Table F.1/F.2; 0 for 0).
inline int JpegCategory(int32_t value) {
  return std::bit_width(static_cast<uint32_t>(value < 0 ? -value : value));
}

// Adds the block's DC category and AC symbols (ZRL 0xF0, EOB 0x00) to the counts; the predictor
// is the component's previous DC value and becomes this block's.
void CountJpegBlock(std::span<const int16_t, 64> block, int32_t& predictor, JpegSymbolCounts& dc,
                    JpegSymbolCounts& ac);

void EncodeJpegBlock(std::span<const int16_t, 64> block, int32_t& predictor, const JpegHuffmanTable& dc,
                     const JpegHuffmanTable& ac, JpegBitWriter& out);

// The coded length of all counted symbols: code plus the extra bits each symbol carries (the DC
// category, the low four bits of an AC symbol).
uint64_t JpegCodedBits(const JpegSymbolCounts& counts, const JpegHuffmanTable& table, JpegTableClass tableClass);

}  // namespace lumora
