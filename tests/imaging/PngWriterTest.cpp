// PNG files: every row filter reverses exactly and wins on the row made for it; the files decode
// through Qt's reader (which checks every CRC) to the bitmap's own colours.
#include <gtest/gtest.h>

#include <QImage>
#include <random>

#include "imaging/PngRowFilter.h"
#include "imaging/PngWriter.h"

namespace lumora {
namespace {

// What each filter type predicts from the bytes to the left (a), above (b) and above-left (c).
int Predicted(int type, int a, int b, int c) {
  const int pa = std::abs(b - c), pb = std::abs(a - c), pc = std::abs(a + b - 2 * c);
  const int predicted[] = {0, a, b, (a + b) / 2, pa <= pb && pa <= pc ? a : pb <= pc ? b : c};
  return predicted[type];
}

// The rows: zeros (None), a constant (Sub), the row above (Up), left-and-above means (Average),
// steps every five pixels a little above those of the row above (Paeth), and noise.
TEST(PngRowFilter, EveryFilterReversesAndWinsOnTheRowMadeForIt) {
  constexpr size_t n = 3 * 1001;  // past 16-bit lane sums, and not a whole number of vector steps
  std::mt19937 random(5);
  std::vector<uint8_t> above(n), row(n), out(n + 1), back(n);
  for (int kind = 0; kind <= 5; ++kind) {
    PngRowFilter filter(n);
    for (size_t i = 0; i < n; ++i) {
      above[i] = filter.Row()[i] = static_cast<uint8_t>(kind == 4 ? i / 15 * 37 + i % 3 * 10 : random());
      const int made[] = {0, 100, above[i], ((i >= 3 ? row[i - 3] : 0) + above[i]) / 2, above[i] + 7, int(random())};
      row[i] = static_cast<uint8_t>(made[kind]);
    }
    filter.Filter(out.data());
    std::copy(row.begin(), row.end(), filter.Row());
    const PngFilter chosen = filter.Filter(out.data());
    EXPECT_TRUE(kind == 5 || chosen == static_cast<PngFilter>(kind)) << "kind " << kind << " chose " << int(chosen);
    for (size_t i = 0; i < n; ++i)
      back[i] = static_cast<uint8_t>(out[i + 1] + Predicted(out[0], i >= 3 ? back[i - 3] : 0, above[i], i >= 3 ? above[i - 3] : 0));
    EXPECT_EQ(back, row) << "kind " << kind;
  }
}

TEST(PngWriter, FilesDecodeThroughQtToTheBitmapsColours) {
  std::mt19937 random(9);
  const int cases[][3] = {{1, 1, 32}, {300, 7, 32}, {13, 11, 24}, {9, 5, 8}, {17, 3, 16}};  // width, height, bpp
  for (const auto& [width, height, bpp] : cases) {
    auto bitmap = raster::Bitmap::Create(width, height, bpp, bpp == 24 ? raster::RowOrder::BottomUp : raster::RowOrder::TopDown);
    for (auto& q : bitmap->colorTable()) q = {uint8_t(random()), uint8_t(random()), uint8_t(random()), 0};
    for (size_t i = 0; i < bitmap->sizeBytes(); ++i) bitmap->bits()[i] = static_cast<uint8_t>(i / 7 + random() % 9);
    const std::vector<uint8_t> png = EncodePng(*bitmap);
    QImage decoded;
    ASSERT_TRUE(decoded.loadFromData(png.data(), static_cast<int>(png.size()), "PNG")) << width << "x" << height;
    int wrong = 0;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) {
        const uint32_t rgb = bitmap->pixelRGB(x, y);
        wrong += decoded.pixel(x, y) != qRgb(rgb & 0xFF, (rgb >> 8) & 0xFF, rgb >> 16);
      }
    EXPECT_EQ(wrong, 0) << width << "x" << height << " at " << bpp << " bpp";
  }
}

}  // namespace
}  // namespace lumora
