#include "imaging/JpegEntropy.h"

#include "imaging/JpegCpu.h"

namespace lumora {

namespace {

constexpr int kZrl = 0xF0;
constexpr int kEob = 0x00;

#ifdef LUMORA_JPEG_X86
// One bit for each of 32 coefficients: set where it is zero.
__attribute__((target("avx2"), always_inline)) inline uint32_t ZeroMask32(const int16_t* p) {
  const __m256i zero = _mm256_setzero_si256();
  const __m256i a = _mm256_cmpeq_epi16(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)), zero);
  const __m256i b = _mm256_cmpeq_epi16(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 16)), zero);
  // Packing works per 128-bit lane; the permute puts the 32 bytes back in coefficient order.
  const __m256i bytes = _mm256_permute4x64_epi64(_mm256_packs_epi16(a, b), 0xD8);
  return static_cast<uint32_t>(_mm256_movemask_epi8(bytes));
}

__attribute__((target("avx2"))) uint64_t ZeroMaskAvx2(const int16_t* block) {
  return ZeroMask32(block) | static_cast<uint64_t>(ZeroMask32(block + 32)) << 32;
}
#endif

// Bit k set when AC coefficient k (1..63) is non-zero.
inline uint64_t NonZeroMask(std::span<const int16_t, 64> block) {
#ifdef LUMORA_JPEG_X86
  if (JpegUseAvx2()) return ~ZeroMaskAvx2(block.data()) & ~uint64_t{1};
#endif
  uint64_t mask = 0;
  for (int k = 1; k < 64; ++k) mask |= static_cast<uint64_t>(block[static_cast<size_t>(k)] != 0) << k;
  return mask;
}

// The low `size` bits that follow a symbol: the value, or value - 1 when negative (F.1.2.1).
inline uint32_t ExtraBits(int32_t value, int size) {
  const int32_t bits = value + (value >> 31);
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
