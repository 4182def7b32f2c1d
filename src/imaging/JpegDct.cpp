#include "imaging/JpegDct.h"

#include "imaging/JpegCpu.h"

namespace lumora {

namespace {

// One 8-point line, in place: d0..d7 in, out0..out7 back in d0..d7. T is a float or eight floats
// of eight independent lines (a scalar constant applies to every lane); the operations and their
// order are the same either way.
template <typename T>
__attribute__((always_inline)) inline void Aan8(T& d0, T& d1, T& d2, T& d3, T& d4, T& d5, T& d6, T& d7) {
  const T tmp0 = d0 + d7, tmp7 = d0 - d7;
  const T tmp1 = d1 + d6, tmp6 = d1 - d6;
  const T tmp2 = d2 + d5, tmp5 = d2 - d5;
  const T tmp3 = d3 + d4, tmp4 = d3 - d4;

  // Even part.
  T t10 = tmp0 + tmp3, t13 = tmp0 - tmp3;
  T t11 = tmp1 + tmp2, t12 = tmp1 - tmp2;
  d0 = t10 + t11;
  d4 = t10 - t11;
  const T z1 = (t12 + t13) * 0.707106781186548f;
  d2 = t13 + z1;
  d6 = t13 - z1;

  // Odd part.
  t10 = tmp4 + tmp5;
  t11 = tmp5 + tmp6;
  t12 = tmp6 + tmp7;
  const T z5 = (t10 - t12) * 0.382683432365091f;
  const T z2 = 0.541196100146196f * t10 + z5;
  const T z4 = 1.30656296487638f * t12 + z5;
  const T z3 = t11 * 0.707106781186548f;
  const T z11 = tmp7 + z3, z13 = tmp7 - z3;
  d5 = z13 + z2;
  d3 = z13 - z2;
  d1 = z11 + z4;
  d7 = z11 - z4;
}

void Pass(float* w, ptrdiff_t step, ptrdiff_t along) {
  for (int i = 0; i < 8; ++i) {
    float* l = w + i * along;
    Aan8(l[0], l[step], l[2 * step], l[3 * step], l[4 * step], l[5 * step], l[6 * step], l[7 * step]);
  }
}

#ifdef LUMORA_JPEG_X86
__attribute__((target("avx2"), always_inline)) inline void Transpose(__m256 r[8]) {
  __m256 t[8], s[8];
  for (int i = 0; i < 8; i += 2) {
    t[i] = _mm256_unpacklo_ps(r[i], r[i + 1]);
    t[i + 1] = _mm256_unpackhi_ps(r[i], r[i + 1]);
  }
  for (int i = 0; i < 8; i += 4) {
    s[i] = _mm256_shuffle_ps(t[i], t[i + 2], 0x44);
    s[i + 1] = _mm256_shuffle_ps(t[i], t[i + 2], 0xEE);
    s[i + 2] = _mm256_shuffle_ps(t[i + 1], t[i + 3], 0x44);
    s[i + 3] = _mm256_shuffle_ps(t[i + 1], t[i + 3], 0xEE);
  }
  for (int i = 0; i < 4; ++i) {
    r[i] = _mm256_permute2f128_ps(s[i], s[i + 4], 0x20);
    r[i + 4] = _mm256_permute2f128_ps(s[i], s[i + 4], 0x31);
  }
}

// Each vector is one row: the column pass runs on all eight columns at once, the row pass on the
// transposed block.
__attribute__((target("avx2"))) void DctAvx2(const float* rows, ptrdiff_t stride, float* out) {
  __m256 r[8];
  for (int i = 0; i < 8; ++i) r[i] = _mm256_loadu_ps(rows + i * stride);
  Aan8(r[0], r[1], r[2], r[3], r[4], r[5], r[6], r[7]);
  Transpose(r);
  Aan8(r[0], r[1], r[2], r[3], r[4], r[5], r[6], r[7]);
  Transpose(r);
  for (int i = 0; i < 8; ++i) _mm256_storeu_ps(out + 8 * i, r[i]);
}
#endif

}  // namespace

void JpegForwardDctReference(const float* rows, ptrdiff_t stride, std::span<float, 64> out) {
  for (int v = 0; v < 8; ++v)
    for (int u = 0; u < 8; ++u) out[static_cast<size_t>(u + 8 * v)] = rows[v * stride + u];
  Pass(out.data(), 8, 1);  // columns
  Pass(out.data(), 1, 8);  // rows
}

void JpegForwardDct(const float* rows, ptrdiff_t stride, std::span<float, 64> out) {
#ifdef LUMORA_JPEG_X86
  if (JpegUseAvx2()) return DctAvx2(rows, stride, out.data());
#endif
  JpegForwardDctReference(rows, stride, out);
}

}  // namespace lumora
