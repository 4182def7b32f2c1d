#include "imaging/JpegQuantiser.h"

#include <cmath>

#include "base/LumoraError.h"
#include "imaging/JpegCpu.h"

namespace lumora {

namespace {

#ifdef LUMORA_JPEG_X86
// The conversion rounds by the current mode (to nearest, ties to even), as nearbyint does.
// Returns false when a value does not fit 16 bits (NaN and huge values convert to INT_MIN).
__attribute__((target("avx2"))) bool QuantiseAvx2(const float* work, const float* divisors,
                                                  const int32_t* zigzag, int16_t* out) {
  alignas(32) int32_t values[64];
  __m256i low = _mm256_set1_epi32(0), high = low;
  for (int i = 0; i < 64; i += 8) {
    const __m256 p = _mm256_mul_ps(_mm256_loadu_ps(work + i), _mm256_load_ps(divisors + i));
    const __m256i q = _mm256_cvtps_epi32(p);
    low = _mm256_min_epi32(low, q);
    high = _mm256_max_epi32(high, q);
    _mm256_store_si256(reinterpret_cast<__m256i*>(values + i), q);
  }
  const __m256i outside = _mm256_or_si256(_mm256_cmpgt_epi32(_mm256_set1_epi32(-32768), low),
                                          _mm256_cmpgt_epi32(high, _mm256_set1_epi32(32767)));
  if (!_mm256_testz_si256(outside, outside)) return false;
  for (int i = 0; i < 64; ++i) out[zigzag[i]] = static_cast<int16_t>(values[i]);
  return true;
}
#endif

}  // namespace

JpegQuantiser::JpegQuantiser(const JpegQuantTable& table, const JpegZigzagMap& zigzag) : m_zigzag(zigzag) {
  for (size_t i = 0; i < 64; ++i) m_divisors[i] = table.D[static_cast<size_t>(zigzag[i])];
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
    if (!QuantiseAvx2(work.data(), m_divisors.data(), m_zigzag.data(), out.data())) throw LumoraError::overflow();
    return;
  }
#endif
  QuantiseReference(work, out);
}

}  // namespace lumora
