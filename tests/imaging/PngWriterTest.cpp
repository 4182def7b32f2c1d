// PNG files: each filter wins on its row; files decode through Qt (which checks CRCs) to the colours.
#include <gtest/gtest.h>

#include <QImage>
#include <array>
#include <random>

#include "imaging/PngRowFilter.h"
#include "imaging/PngWriter.h"

namespace lumora {
namespace {

// Under the row above: zeros (None), a constant (Sub), the row above (Up), left-and-above means
// (Average), and a little above the row above, which steps every five pixels (Paeth).
TEST(PngWriter, EachFilterWinsOnTheRowMadeForItAndDecodes) {
  constexpr int32_t width = 1001;  // past 16-bit lane sums, and not a whole number of vector steps
  constexpr size_t n = 3 * width;
  std::mt19937 random(5);
  std::vector<uint8_t> above(n), row(n), out(n + 1);
  for (int kind = 0; kind < 5; ++kind) {
    for (size_t i = 0; i < n; ++i) {
      above[i] = static_cast<uint8_t>(kind == 4 ? i / 15 * 37 + i % 3 * 10 : random());
      row[i] = static_cast<uint8_t>(
          std::array{0, 100, +above[i], ((i >= 3 ? row[i - 3] : 0) + above[i]) / 2, above[i] + 7}[kind]);
    }
    PngRowFilter filter(n);
    std::copy(above.begin(), above.end(), filter.Row());
    filter.Filter(out.data());
    std::copy(row.begin(), row.end(), filter.Row());
    EXPECT_EQ(static_cast<int>(filter.Filter(out.data())), kind);
    auto bitmap = raster::Bitmap::Create(width, 2, 24);
    for (size_t i = 0; i < n; ++i)  // red, green, blue as blue, green, red
      bitmap->row(0)[i / 3 * 3 + 2 - i % 3] = above[i], bitmap->row(1)[i / 3 * 3 + 2 - i % 3] = row[i];
    const std::vector<uint8_t> png = EncodePng(*bitmap);
    const QImage expected(bitmap->bits(), width, 2, bitmap->stride(), QImage::Format_BGR888);
    EXPECT_EQ(QImage::fromData(png.data(), int(png.size())).convertToFormat(expected.format()), expected) << kind;
  }
}

}  // namespace
}  // namespace lumora
