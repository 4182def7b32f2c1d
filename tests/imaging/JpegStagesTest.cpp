// The vector stages of the capture give their scalar references' results bit for bit.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

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

TEST(JpegQuantiser, FastEqualsReference) {
  std::mt19937 rng(13);
  const JpegZigzagMap zigzag = BuildJpegZigzagMap();
  for (int32_t quality : {1, 50, 100}) {
    JpegQuantTable table;
    table.Scale(JpegLuminanceBaseTable(), JpegQualityScale(quality));
    table.RebuildDivisors(zigzag, 8);
    const JpegQuantiser q(table, zigzag);
    for (int i = 0; i < 500; ++i) {
      std::array<float, 64> work = RandomBlock(rng, 2000.0f);
      std::array<int16_t, 64> fast, ref;
      q.Quantise(work, fast);
      q.QuantiseReference(work, ref);
      ASSERT_EQ(fast, ref) << "quality " << quality << " block " << i;
    }
  }
}

}  // namespace
}  // namespace lumora
