// The entropy coder's parts against plain references: the vector colour rows bit for bit against
// their scalar path at every width (the block stages are held to theirs by the golden hashes, which
// both paths must give), Huffman tables for any counts, and the bit packer against a bit-at-a-time model.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

#include "imaging/JpegBitWriter.h"
#include "imaging/JpegColour.h"
#include "imaging/JpegHuffman.h"
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
      for (auto& plane : fast) plane.assign(static_cast<size_t>(count), -1.0f);
      for (auto& plane : ref) plane.assign(static_cast<size_t>(count), -2.0f);
      std::array<float*, 3> fastRows = {fast[0].data(), fast[1].data(), fast[2].data()},
                            refRows = {ref[0].data(), ref[1].data(), ref[2].data()};
      // A row that ends exactly at the end of its memory must not be overread.
      const std::vector<uint8_t> row(pixels.begin(), pixels.begin() + count * bpp);
      JpegConvertRow(row.data(), bpp, count, kJpegColourWeights, fastRows);
      JpegConvertRowReference(row.data(), bpp, count, kJpegColourWeights, refRows);
      EXPECT_EQ(fast, ref) << bpp << " " << count;
    }
  }
}

}  // namespace
}  // namespace lumora
