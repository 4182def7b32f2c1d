#include "imaging/JpegColour.h"

#include "imaging/JpegCpu.h"

namespace lumora {

namespace {

void ConvertScalar(const uint8_t* pixels, int bytesPerPixel, int32_t from, int32_t count,
                   std::span<const JpegColourWeights> weights, std::span<float* const> out) {
  for (int32_t x = from; x < count; ++x) {
    const uint8_t* p = pixels + static_cast<ptrdiff_t>(x) * bytesPerPixel;
    for (size_t c = 0; c < weights.size(); ++c) out[c][x] = JpegConvertSample(weights[c], p[2], p[1], p[0]);
  }
}

#ifdef LUMORA_JPEG_X86
// Eight pixels at a time; returns how many pixels it converted (the rest go the scalar way).
__attribute__((target("avx2"))) int32_t ConvertAvx2(const uint8_t* pixels, int bytesPerPixel, int32_t count,
                                                    std::span<const JpegColourWeights> weights,
                                                    std::span<float* const> out) {
  const __m256i byteMask = _mm256_set1_epi32(0xFF);
  const __m256i offsets = _mm256_setr_epi32(0, 3, 6, 9, 12, 15, 18, 21);
  // A 24-bit gather reads one byte past its last pixel: stop early enough to stay in the row.
  const int32_t limit = bytesPerPixel == 4 ? count - 8 : count - 9;
  int32_t x = 0;
  for (; x <= limit; x += 8) {
    const uint8_t* p = pixels + static_cast<ptrdiff_t>(x) * bytesPerPixel;
    const __m256i v = bytesPerPixel == 4 ? _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p))
                                         : _mm256_i32gather_epi32(reinterpret_cast<const int*>(p), offsets, 1);
    const __m256 b = _mm256_cvtepi32_ps(_mm256_and_si256(v, byteMask));
    const __m256 g = _mm256_cvtepi32_ps(_mm256_and_si256(_mm256_srli_epi32(v, 8), byteMask));
    const __m256 r = _mm256_cvtepi32_ps(_mm256_and_si256(_mm256_srli_epi32(v, 16), byteMask));
    for (size_t c = 0; c < weights.size(); ++c) {
      const JpegColourWeights& w = weights[c];
      __m256 s = _mm256_add_ps(_mm256_mul_ps(_mm256_set1_ps(w.red), r), _mm256_mul_ps(_mm256_set1_ps(w.green), g));
      s = _mm256_add_ps(s, _mm256_mul_ps(_mm256_set1_ps(w.blue), b));
      _mm256_storeu_ps(out[c] + x, _mm256_add_ps(s, _mm256_set1_ps(w.offset)));
    }
  }
  return x;
}
#endif

}  // namespace

void JpegConvertRowReference(const uint8_t* pixels, int bytesPerPixel, int32_t count,
                             std::span<const JpegColourWeights> weights, std::span<float* const> out) {
  ConvertScalar(pixels, bytesPerPixel, 0, count, weights, out);
}

void JpegConvertRow(const uint8_t* pixels, int bytesPerPixel, int32_t count,
                    std::span<const JpegColourWeights> weights, std::span<float* const> out) {
  int32_t done = 0;
#ifdef LUMORA_JPEG_X86
  if (JpegUseAvx2()) done = ConvertAvx2(pixels, bytesPerPixel, count, weights, out);
#endif
  ConvertScalar(pixels, bytesPerPixel, done, count, weights, out);
}

}  // namespace lumora
