#include "imaging/JpegEntropy.h"

namespace lumora {

namespace {

constexpr int kZrl = 0xF0;
constexpr int kEob = 0x00;

// Bit k set when AC coefficient k (1..63) is non-zero.
inline uint64_t NonZeroMask(std::span<const int16_t, 64> block) {
  uint64_t mask = 0;
  for (int k = 1; k < 64; ++k) mask |= static_cast<uint64_t>(block[static_cast<size_t>(k)] != 0) << k;
  return mask;
}

// The low `size` bits that follow a symbol: the value, or value - 1 when negative (F.1.2.1).
inline uint32_t ExtraBits(int32_t value, int size) {
  const int32_t bits = value < 0 ? value - 1 : value;
  return static_cast<uint32_t>(bits) & ((1u << size) - 1u);
}

}  // namespace

void CountJpegBlock(std::span<const int16_t, 64> block, int32_t& predictor, JpegSymbolCounts& dc,
                    JpegSymbolCounts& ac) {
  const int32_t diff = block[0] - predictor;
  predictor = block[0];
  ++dc[static_cast<size_t>(JpegCategory(diff))];

  int last = 0;  // position of the previous non-zero coefficient
  for (uint64_t mask = NonZeroMask(block); mask != 0; mask &= mask - 1) {
    const int k = std::countr_zero(mask);
    int run = k - last - 1;
    for (; run >= 16; run -= 16) ++ac[kZrl];
    ++ac[static_cast<size_t>(run * 16 + JpegCategory(block[static_cast<size_t>(k)]))];
    last = k;
  }
  if (last != 63) ++ac[kEob];
}

void EncodeJpegBlock(std::span<const int16_t, 64> block, int32_t& predictor, const JpegHuffmanTable& dc,
                     const JpegHuffmanTable& ac, JpegBitWriter& out) {
  const int32_t diff = block[0] - predictor;
  predictor = block[0];
  const int category = JpegCategory(diff);
  out.Put((static_cast<uint32_t>(dc.code[static_cast<size_t>(category)]) << category) | ExtraBits(diff, category),
          dc.size[static_cast<size_t>(category)] + category);

  int last = 0;
  for (uint64_t mask = NonZeroMask(block); mask != 0; mask &= mask - 1) {
    const int k = std::countr_zero(mask);
    int run = k - last - 1;
    for (; run >= 16; run -= 16) out.Put(ac.code[kZrl], ac.size[kZrl]);
    const int32_t value = block[static_cast<size_t>(k)];
    const int size = JpegCategory(value);
    const auto symbol = static_cast<size_t>(run * 16 + size);
    out.Put((static_cast<uint32_t>(ac.code[symbol]) << size) | ExtraBits(value, size), ac.size[symbol] + size);
    last = k;
  }
  if (last != 63) out.Put(ac.code[kEob], ac.size[kEob]);
}

uint64_t JpegCodedBits(const JpegSymbolCounts& counts, const JpegHuffmanTable& table, JpegTableClass tableClass) {
  uint64_t bits = 0;
  for (size_t s = 0; s < counts.size(); ++s) {
    if (counts[s] == 0) continue;
    const uint64_t extra = tableClass == JpegTableClass::DC ? s : (s & 0x0F);
    bits += counts[s] * (table.size[s] + extra);
  }
  return bits;
}

}  // namespace lumora
