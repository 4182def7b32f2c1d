// The encoder's fixed tables and the quantisation tables the quality setting derives.
#include <gtest/gtest.h>

#include <cmath>

#include "base/LumoraError.h"
#include "imaging/JpegTables.h"
#include "imaging/cJpeg.h"

namespace lumora {
namespace {

TEST(JpegTables, ZigzagMapIsFigureA6) {
  // T.81 Figure A.6, row by row: the zigzag index of each natural position.
  constexpr std::array<int32_t, 64> kFigureA6 = {
      0,  1,  5,  6,  14, 15, 27, 28, 2,  4,  7,  13, 16, 26, 29, 42, 3,  8,  12, 17, 25, 30,
      41, 43, 9,  11, 18, 24, 31, 40, 44, 53, 10, 19, 23, 32, 39, 45, 52, 54, 20, 22, 33, 38,
      46, 51, 55, 60, 21, 34, 37, 47, 50, 56, 59, 61, 35, 36, 48, 49, 57, 58, 62, 63};
  EXPECT_EQ(BuildJpegZigzagMap(), kFigureA6);
  const JpegNaturalOrder natural = InvertJpegZigzagMap(BuildJpegZigzagMap());
  for (int k = 0; k < 64; ++k) EXPECT_EQ(kFigureA6[static_cast<size_t>(natural[static_cast<size_t>(k)])], k);
}

TEST(JpegTables, BaseTablesAreAnnexKInZigzagOrder) {
  const std::array<int16_t, 8> lumaStart = {16, 11, 12, 14, 12, 10, 16, 14};
  const std::array<int16_t, 14> chromaStart = {17, 18, 18, 24, 21, 24, 47, 26, 26, 47, 99, 66, 56, 66};
  for (size_t k = 0; k < lumaStart.size(); ++k) EXPECT_EQ(JpegLuminanceBaseTable()[k], lumaStart[k]);
  for (size_t k = 0; k < chromaStart.size(); ++k) EXPECT_EQ(JpegChrominanceBaseTable()[k], chromaStart[k]);
  for (size_t k = chromaStart.size(); k < 64; ++k) EXPECT_EQ(JpegChrominanceBaseTable()[k], 99) << k;
  EXPECT_EQ(JpegLuminanceBaseTable()[63], 99);
}

TEST(JpegTables, ScaleFactorsAreOneOverFourCosines) {
  // Fifteen significant digits.
  EXPECT_NEAR(kJpegDctScale[0], 1.0 / (2.0 * std::sqrt(2.0)), 5e-15);
  for (int k = 1; k < 8; ++k)
    EXPECT_NEAR(kJpegDctScale[static_cast<size_t>(k)], 1.0 / (4.0 * std::cos(k * std::acos(-1.0) / 16.0)), 5e-14);
}

TEST(JpegTables, QualityScaleRoundsHalvesToEven) {
  struct Case { int32_t quality, scale; };
  for (Case c : {Case{1, 5000}, {3, 1667}, {49, 102}, {50, 100}, {75, 50}, {100, 0}, {8, 625}})
    EXPECT_EQ(JpegQualityScale(c.quality), c.scale) << c.quality;
}

struct QualityCase {
  int32_t quality;
  std::array<int16_t, 4> luma;    // Q[0], Q[1], Q[2], Q[63]
  std::array<int16_t, 4> chroma;  // the same positions
};

class JpegQuality : public testing::TestWithParam<QualityCase> {};

TEST_P(JpegQuality, ScalesBothTables) {
  const QualityCase& c = GetParam();
  cJpeg jpeg;
  jpeg.Quality(c.quality);
  EXPECT_EQ(jpeg.Quality(), c.quality);
  for (size_t i = 0; i < 4; ++i) {
    const size_t k = i == 3 ? 63 : i;
    EXPECT_EQ(jpeg.QuantTable(0).Q[k], c.luma[i]) << "luminance k=" << k;
    EXPECT_EQ(jpeg.QuantTable(1).Q[k], c.chroma[i]) << "chrominance k=" << k;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Tables, JpegQuality,
    testing::Values(QualityCase{1, {255, 255, 255, 255}, {255, 255, 255, 255}},  // 800 clamps to 255
                    QualityCase{50, {16, 12, 12, 100}, {18, 18, 18, 100}},       // odd bases go up by one
                    QualityCase{75, {8, 6, 6, 50}, {9, 10, 10, 50}},             // 8.5 -> 8, 9.5 -> 10
                    QualityCase{100, {1, 1, 1, 1}, {1, 1, 1, 1}}));              // 0.5 -> 0, clamped to 1

TEST(JpegTables, OutOfRangeQualityChangesNothing) {
  cJpeg jpeg;
  jpeg.Quality(60);
  const JpegQuantTable before = jpeg.QuantTable(0);
  for (int32_t q : {0, -5, 101}) {
    jpeg.Quality(q);
    EXPECT_EQ(jpeg.Quality(), 60);
    EXPECT_EQ(jpeg.QuantTable(0).Q, before.Q);
    EXPECT_EQ(jpeg.QuantTable(0).D, before.D);
  }
}

TEST(JpegTables, DivisorsAreScaleProductsOverQuantisersInSinglePrecision) {
  cJpeg jpeg;  // quality 75
  const JpegZigzagMap& zigzag = jpeg.ZigzagMap();
  for (int v = 0; v < 8; ++v) {
    for (int u = 0; u < 8; ++u) {
      const auto k = static_cast<size_t>(zigzag[static_cast<size_t>(u + 8 * v)]);
      for (size_t t = 0; t < 2; ++t) {
        const float expected = static_cast<float>(kJpegDctScale[static_cast<size_t>(u)] *
                                                  kJpegDctScale[static_cast<size_t>(v)] / jpeg.QuantTable(t).Q[k]);
        EXPECT_EQ(jpeg.QuantTable(t).D[k], expected) << u << "," << v;
      }
    }
  }
}

TEST(JpegTables, QuantiserOutsideItsRangeIsABadTable) {
  for (int16_t bad : {int16_t{0}, int16_t{-3}, int16_t{256}}) {
    JpegQuantTable table;
    table.Scale(JpegLuminanceBaseTable(), 50);
    table.Q[17] = bad;
    try {
      table.RebuildDivisors(BuildJpegZigzagMap(), 8);
      FAIL() << bad;
    } catch (const LumoraError& e) {
      EXPECT_EQ(e.number(), 1);
      EXPECT_EQ(e.description(), "Bad Quantization Table");
    }
  }
  JpegQuantTable wide;
  wide.Scale(JpegLuminanceBaseTable(), 50);
  wide.Q[5] = 1000;
  EXPECT_NO_THROW(wide.RebuildDivisors(BuildJpegZigzagMap(), 12));
}

}  // namespace
}  // namespace lumora
