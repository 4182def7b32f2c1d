// The pixel stages of the capture: colour conversion, DCT and quantisation, each against its
// scalar reference (bit for bit) and against the mathematics it stands for.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

#include "base/LumoraError.h"
#include "imaging/JpegColour.h"
#include "imaging/JpegDct.h"
#include "imaging/JpegQuantiser.h"
#include "imaging/JpegTables.h"

namespace lumora {
namespace {

TEST(JpegColour, FastRowsEqualTheReferenceForEveryWidthAndLayout) {
  std::mt19937 rng(3);
  std::vector<uint8_t> pixels(4 * 300 + 8);
  for (auto& p : pixels) p = static_cast<uint8_t>(rng());
  for (int bpp : {3, 4}) {
    for (int32_t count : {1, 7, 8, 9, 16, 17, 33, 300}) {
      std::array<std::vector<float>, 3> fast, ref;
      std::array<float*, 3> fastRows, refRows;
      for (size_t c = 0; c < 3; ++c) {
        fast[c].assign(static_cast<size_t>(count), -1.0f);
        ref[c].assign(static_cast<size_t>(count), -2.0f);
        fastRows[c] = fast[c].data();
        refRows[c] = ref[c].data();
      }
      // A row that ends exactly at the end of its memory must not be overread.
      const std::vector<uint8_t> row(pixels.begin(), pixels.begin() + count * bpp);
      JpegConvertRow(row.data(), bpp, count, kJpegColourWeights, fastRows);
      JpegConvertRowReference(row.data(), bpp, count, kJpegColourWeights, refRows);
      for (size_t c = 0; c < 3; ++c) EXPECT_EQ(fast[c], ref[c]) << bpp << " " << count << " " << c;
    }
  }
}

TEST(JpegColour, ExtremesAndGreyMapWhereTheFormulasSay) {
  EXPECT_FLOAT_EQ(JpegConvertSample(kJpegColourWeights[0], 0, 0, 0), -128.0f);
  EXPECT_NEAR(JpegConvertSample(kJpegColourWeights[0], 255, 255, 255), 127.0f, 1e-4);
  for (uint8_t grey : {0, 77, 128, 255}) {
    EXPECT_NEAR(JpegConvertSample(kJpegColourWeights[1], grey, grey, grey), 0.0f, 1e-4);
    EXPECT_NEAR(JpegConvertSample(kJpegColourWeights[2], grey, grey, grey), 0.0f, 1e-4);
  }
  EXPECT_NEAR(JpegConvertSample(kJpegColourWeights[1], 0, 0, 255), 127.5f, 1e-4);
  EXPECT_NEAR(JpegConvertSample(kJpegColourWeights[2], 255, 0, 0), 127.5f, 1e-4);
}

std::array<float, 64> RandomBlock(std::mt19937& rng, float range) {
  std::uniform_real_distribution<float> d(-range, range);
  std::array<float, 64> b;
  for (auto& v : b) v = d(rng);
  return b;
}

TEST(JpegDct, FastTransformEqualsTheReferenceBitForBit) {
  std::mt19937 rng(11);
  for (int i = 0; i < 2000; ++i) {
    const std::array<float, 64> in = RandomBlock(rng, i % 2 ? 128.0f : 3.0f);
    std::array<float, 64> fast, ref;
    JpegForwardDct(in.data(), 8, fast);
    JpegForwardDctReference(in.data(), 8, ref);
    ASSERT_EQ(0, std::memcmp(fast.data(), ref.data(), sizeof fast)) << "block " << i;
  }
}

TEST(JpegDct, OutputIsTheTrueDctScaledBySuSv) {
  std::mt19937 rng(12);
  const double pi = std::acos(-1.0);
  for (int i = 0; i < 20; ++i) {
    // Read with a row stride, as the capture reads its strips.
    std::vector<float> strip(8 * 24);
    for (auto& v : strip) v = std::uniform_real_distribution<float>(-128, 127)(rng);
    const float* rows = strip.data() + 8;
    std::array<float, 64> out;
    JpegForwardDct(rows, 24, out);
    for (int v = 0; v < 8; ++v) {
      for (int u = 0; u < 8; ++u) {
        double sum = 0;
        for (int y = 0; y < 8; ++y)
          for (int x = 0; x < 8; ++x)
            sum += rows[y * 24 + x] * std::cos((2 * x + 1) * u * pi / 16) * std::cos((2 * y + 1) * v * pi / 16);
        const double cu = u == 0 ? std::sqrt(0.5) : 1.0, cv = v == 0 ? std::sqrt(0.5) : 1.0;
        const double trueDct = 0.25 * cu * cv * sum;
        const double scaled = out[static_cast<size_t>(u + 8 * v)] * kJpegDctScale[static_cast<size_t>(u)] *
                              kJpegDctScale[static_cast<size_t>(v)];
        EXPECT_NEAR(scaled, trueDct, 2e-3) << u << "," << v;
      }
    }
  }
}

JpegQuantTable QualityTable(int32_t quality) {
  JpegQuantTable t;
  t.Scale(JpegLuminanceBaseTable(), JpegQualityScale(quality));
  t.RebuildDivisors(BuildJpegZigzagMap(), 8);
  return t;
}

TEST(JpegQuantiser, FastEqualsReferenceAndStoresInZigzagOrder) {
  std::mt19937 rng(13);
  const JpegZigzagMap zigzag = BuildJpegZigzagMap();
  for (int32_t quality : {1, 50, 100}) {
    const JpegQuantTable table = QualityTable(quality);
    const JpegQuantiser q(table, zigzag);
    for (int i = 0; i < 500; ++i) {
      std::array<float, 64> work = RandomBlock(rng, 2000.0f);
      std::array<int16_t, 64> fast, ref;
      q.Quantise(work, fast);
      q.QuantiseReference(work, ref);
      ASSERT_EQ(fast, ref);
      for (size_t n = 0; n < 64; ++n) {
        const auto k = static_cast<size_t>(zigzag[n]);
        EXPECT_EQ(ref[k], static_cast<int16_t>(std::nearbyint(work[n] * table.D[k])));
      }
    }
  }
}

TEST(JpegQuantiser, HalvesRoundToEven) {
  const JpegZigzagMap zigzag = BuildJpegZigzagMap();
  JpegQuantTable table;
  table.Q.fill(1);
  table.D.fill(1.0f);  // divisors of one: the work values themselves are rounded
  const JpegQuantiser q(table, zigzag);
  std::array<float, 64> work{};
  const std::array<float, 6> halves = {0.5f, 1.5f, 2.5f, -0.5f, -1.5f, -2.5f};
  const std::array<int16_t, 6> rounded = {0, 2, 2, 0, -2, -2};
  for (size_t i = 0; i < halves.size(); ++i) work[i] = halves[i];
  std::array<int16_t, 64> out;
  q.Quantise(work, out);
  for (size_t i = 0; i < halves.size(); ++i) EXPECT_EQ(out[static_cast<size_t>(zigzag[i])], rounded[i]) << halves[i];
}

TEST(JpegQuantiser, ValueOutside16BitsIsAnOverflow) {
  const JpegZigzagMap zigzag = BuildJpegZigzagMap();
  const JpegQuantiser q(QualityTable(100), zigzag);
  for (float bad : {1e9f, -1e9f, std::nanf("")}) {
    std::array<float, 64> work{};
    work[9] = bad;
    std::array<int16_t, 64> out;
    try {
      q.Quantise(work, out);
      FAIL() << bad;
    } catch (const LumoraError& e) {
      EXPECT_EQ(e.number(), ErrorNumber::kOverflow);
    }
    EXPECT_THROW(q.QuantiseReference(work, out), LumoraError);
  }
}

}  // namespace
}  // namespace lumora
