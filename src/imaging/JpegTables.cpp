#include "imaging/JpegTables.h"

#include <algorithm>

#include "base/LumoraError.h"
#include "base/Rounding.h"

namespace lumora {

namespace {

// T.81 Table K.1 and K.2 as printed (row by row); turned into zigzag order once.
constexpr std::array<int16_t, 64> kLuminanceNatural = {
    16, 11, 10, 16, 24,  40,  51,  61,  12, 12, 14, 19, 26,  58,  60,  55,
    14, 13, 16, 24, 40,  57,  69,  56,  14, 17, 22, 29, 51,  87,  80,  62,
    18, 22, 37, 56, 68,  109, 103, 77,  24, 35, 55, 64, 81,  104, 113, 92,
    49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99};

constexpr std::array<int16_t, 64> kChrominanceNatural = {
    17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99, 24, 26, 56, 99, 99, 99,
    99, 99, 47, 66, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
    99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99};

std::array<int16_t, 64> ToZigzag(const std::array<int16_t, 64>& natural) {
  const JpegZigzagMap zigzag = BuildJpegZigzagMap();
  std::array<int16_t, 64> out{};
  for (int i = 0; i < 64; ++i) out[static_cast<size_t>(zigzag[static_cast<size_t>(i)])] = natural[static_cast<size_t>(i)];
  return out;
}

}  // namespace

JpegZigzagMap BuildJpegZigzagMap() {
  JpegZigzagMap map{};
  int u = 0, v = 0, d = 1;
  for (int k = 0; k < 64; ++k) {
    map[static_cast<size_t>(u + 8 * v)] = k;
    u += d;
    v -= d;
    // Stepping off an edge: turn back onto the next diagonal (right and bottom edges first).
    if (u >= 8) {
      u = 7, v += 2, d = -1;
    } else if (v >= 8) {
      v = 7, u += 2, d = 1;
    } else if (u < 0) {
      u = 0, d = 1;
    } else if (v < 0) {
      v = 0, d = -1;
    }
  }
  return map;
}

JpegNaturalOrder InvertJpegZigzagMap(const JpegZigzagMap& zigzag) {
  JpegNaturalOrder natural{};
  for (int i = 0; i < 64; ++i) natural[static_cast<size_t>(zigzag[static_cast<size_t>(i)])] = i;
  return natural;
}

const std::array<int16_t, 64>& JpegLuminanceBaseTable() {
  static const std::array<int16_t, 64> table = ToZigzag(kLuminanceNatural);
  return table;
}

const std::array<int16_t, 64>& JpegChrominanceBaseTable() {
  static const std::array<int16_t, 64> table = ToZigzag(kChrominanceNatural);
  return table;
}

int32_t JpegQualityScale(int32_t quality) {
  if (quality >= 50) return 200 - 2 * quality;
  return RoundToInt<int32_t>(5000.0 / quality);
}

void JpegQuantTable::Scale(const std::array<int16_t, 64>& base, int32_t scale) {
  for (size_t k = 0; k < 64; ++k) {
    const double q = RoundHalfEven((static_cast<double>(base[k]) * scale + 50.0) / 100.0);
    Q[k] = static_cast<int16_t>(std::clamp(q, 1.0, 255.0));
  }
}

void JpegQuantTable::RebuildDivisors(const JpegZigzagMap& zigzag, int32_t samplePrecision) {
  const int32_t limit = samplePrecision == 12 ? 65535 : 255;
  for (int u = 0; u < 8; ++u) {
    for (int v = 0; v < 8; ++v) {
      const auto k = static_cast<size_t>(zigzag[static_cast<size_t>(u + 8 * v)]);
      const int32_t q = Q[k];
      if (q < 1 || q > limit) throw LumoraError(ErrorNumber::kJpeg, "Bad Quantization Table");
      D[k] = static_cast<float>(kJpegDctScale[static_cast<size_t>(u)] * kJpegDctScale[static_cast<size_t>(v)] / q);
    }
  }
}

}  // namespace lumora
