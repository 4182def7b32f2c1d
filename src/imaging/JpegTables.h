// The fixed tables of the baseline encoder and the quantisation tables derived from the quality
// setting: the zigzag order (ITU-T T.81 Figure A.6), the example tables of T.81 Annex K.1 and the
// output scale of the scaled float DCT that the divisors absorb.
#pragma once

#include <array>
#include <cstdint>

namespace lumora {

// Entry u + 8v holds the zigzag index (0-63) of column u, row v.
using JpegZigzagMap = std::array<int32_t, 64>;
// The same order inverted: entry k holds the natural position u + 8v of zigzag index k.
using JpegNaturalOrder = std::array<int32_t, 64>;

// Walks the diagonals (T.81 Figure A.6).
JpegZigzagMap BuildJpegZigzagMap();
JpegNaturalOrder InvertJpegZigzagMap(const JpegZigzagMap& zigzag);

// T.81 Tables K.1 (luminance) and K.2 (chrominance), in zigzag order.
const std::array<int16_t, 64>& JpegLuminanceBaseTable();
const std::array<int16_t, 64>& JpegChrominanceBaseTable();

// S[0] = 1 / (2 sqrt 2), S[k] = 1 / (4 cos(k pi / 16)): the scaled DCT's output scale.
inline constexpr std::array<double, 8> kJpegDctScale = {
    0.353553390593273, 0.25489778955208, 0.270598050073098, 0.300672443467523,
    0.353553390593273, 0.449988111568207, 0.653281482438186, 1.28145772387074};

// The quality scale factor s: 200 - 2q from 50 up, 5000 / q (ties to even) below.
int32_t JpegQualityScale(int32_t quality);

// One quantisation table (T.81 B.2.4.1): quantisers Q and the DCT divisors D, both in zigzag order.
struct JpegQuantTable {
  std::array<int16_t, 64> Q{};
  std::array<float, 64> D{};

  // Q[k] = (base[k] x s + 50) / 100, ties to even, clamped to 1..255.
  void Scale(const std::array<int16_t, 64>& base, int32_t scale);
  // D[k] = S[u] x S[v] / Q[k] in single precision; "Bad Quantization Table" for a quantiser
  // outside 1..255 (1..65535 at 12-bit precision).
  void RebuildDivisors(const JpegZigzagMap& zigzag, int32_t samplePrecision);
};

}  // namespace lumora
