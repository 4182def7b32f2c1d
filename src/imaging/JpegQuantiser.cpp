#include "imaging/JpegQuantiser.h"

#include <cmath>

#include "base/LumoraError.h"
#include "imaging/JpegCpu.h"

namespace lumora {

namespace {

#ifdef LUMORA_JPEG_X86
// The samples are gathered in zigzag order, so the values leave as whole vectors instead of one
// by one: scattered 16-bit stores were most of the quantiser's time. The conversion rounds by
// the current mode (to nearest, ties to even), as nearbyint does. Returns false when a value
// does not fit 16 bits (NaN and huge values convert to INT_MIN).
__attribute__((target("avx2"))) bool QuantiseAvx2(const float* work, const float* divisors,
                                                  const int32_t* natural, int16_t* out) {
  __m256i low = _mm256_set1_epi32(0), high = low;
  for (int k = 0; k < 64; k += 16) {
    __m256i q[2];
    for (int h = 0; h < 2; ++h) {
      const __m256i at = _mm256_load_si256(reinterpret_cast<const __m256i*>(natural + k + 8 * h));
      const __m256 p = _mm256_mul_ps(_mm256_i32gather_ps(work, at, 4), _mm256_load_ps(divisors + k + 8 * h));
      q[h] = _mm256_cvtps_epi32(p);
      low = _mm256_min_epi32(low, q[h]);
      high = _mm256_max_epi32(high, q[h]);
    }
    // The pack works per 128-bit lane; the permute puts the sixteen values back in order.
    const __m256i packed = _mm256_permute4x64_epi64(_mm256_packs_epi32(q[0], q[1]), 0xD8);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + k), packed);
  }
  const __m256i outside = _mm256_or_si256(_mm256_cmpgt_epi32(_mm256_set1_epi32(-32768), low),
                                          _mm256_cmpgt_epi32(high, _mm256_set1_epi32(32767)));
  return _mm256_testz_si256(outside, outside);
}
#endif

}  // namespace

JpegQuantiser::JpegQuantiser(const JpegQuantTable& table, const JpegZigzagMap& zigzag) : m_zigzag(zigzag) {
  const JpegNaturalOrder natural = InvertJpegZigzagMap(zigzag);
  for (size_t i = 0; i < 64; ++i) {
    m_divisors[i] = table.D[static_cast<size_t>(zigzag[i])];
    m_zigzagDivisors[i] = table.D[i];
    m_natural[i] = natural[i];
  }
}

void JpegQuantiser::QuantiseReference(std::span<const float, 64> work, std::span<int16_t, 64> out) const {
  for (size_t i = 0; i < 64; ++i) {
    const float r = std::nearbyint(work[i] * m_divisors[i]);
    if (!(r >= -32768.0f && r <= 32767.0f)) throw LumoraError::overflow();
    out[static_cast<size_t>(m_zigzag[i])] = static_cast<int16_t>(r);
  }
}

void JpegQuantiser::Quantise(std::span<const float, 64> work, std::span<int16_t, 64> out) const {
#ifdef LUMORA_JPEG_X86
  if (JpegUseAvx2()) {
    if (!QuantiseAvx2(work.data(), m_zigzagDivisors.data(), m_natural.data(), out.data())) throw LumoraError::overflow();
    return;
  }
#endif
  QuantiseReference(work, out);
}

}  // namespace lumora
