#include "compose/ImageConversion.h"

#include <gtest/gtest.h>

#include <QPainter>

namespace lumora {
namespace {

using raster::Bitmap;
using raster::RowOrder;

TEST(ToQImage, SharesTheMemoryOfA32BitTopDownBitmap) {
  auto bitmap = Bitmap::Create(5, 3, 32, RowOrder::TopDown);
  bitmap->setPixelValue(4, 2, bitmap->valueForRGB(0x00336699));
  QImage image = ToQImage(bitmap);
  ASSERT_EQ(image.format(), QImage::Format_RGB32);
  EXPECT_EQ(image.constBits(), bitmap->bits());
  EXPECT_EQ(image.pixel(4, 2) & 0xFFFFFF, qRgb(0x99, 0x66, 0x33) & 0xFFFFFF);

  // Painting on the image paints on the bitmap.
  {
    QPainter painter(&image);
    painter.fillRect(0, 0, 1, 1, QColor(10, 20, 30));
  }
  EXPECT_EQ(bitmap->pixelRGB(0, 0), 0x001E140Au);
}

TEST(ToQImage, KeepsTheBitmapAliveWhileTheImageLives) {
  auto bitmap = Bitmap::Create(2, 2, 32, RowOrder::TopDown);
  bitmap->setPixelValue(1, 1, bitmap->valueForRGB(0x00FF0000));
  std::weak_ptr<Bitmap> watch = bitmap;
  QImage image = ToQImage(bitmap);
  bitmap.reset();
  EXPECT_FALSE(watch.expired());
  EXPECT_EQ(image.pixel(1, 1) & 0xFFFFFF, qRgb(0, 0, 255) & 0xFFFFFF);
  image = QImage();
  EXPECT_TRUE(watch.expired());
}

TEST(ToQImage, PictureViewIsReadOnly) {
  auto bitmap = Bitmap::Create(2, 2, 32, RowOrder::TopDown);
  const raster::StdPicture picture(bitmap);
  QImage image = ToQImage(picture);
  EXPECT_EQ(image.constBits(), bitmap->bits());
  image.setPixel(0, 0, qRgb(255, 255, 255));  // detaches
  EXPECT_EQ(bitmap->pixelRGB(0, 0), 0u) << "a picture's pixels never change";
  EXPECT_TRUE(ToQImage(raster::StdPicture()).isNull());
}

struct LayoutCase {
  int bpp;
  RowOrder order;
};

class ConvertedLayoutTest : public testing::TestWithParam<LayoutCase> {};

// Every other layout is converted pixel by pixel, whatever the depth and row order.
TEST_P(ConvertedLayoutTest, PixelsArriveUnchanged) {
  auto bitmap = Bitmap::Create(7, 4, GetParam().bpp, GetParam().order);
  if (bitmap->bpp() <= 8) {
    auto table = bitmap->colorTable();
    table[0] = {0x30, 0x20, 0x10, 0};  // blue, green, red
    table[1] = {0x01, 0x80, 0xF0, 0};
  }
  uint32_t expected[4][7];
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 7; ++x) {
      const uint32_t rgb = bitmap->bpp() <= 8 ? ((x + y) % 2 ? 0x000180F0u : 0x00302010u)
                                              : (static_cast<uint32_t>(x * 36) | (y * 60u << 8) | 0x00C00000u);
      bitmap->setPixelValue(x, y, bitmap->valueForRGB(rgb));
      // 5-bit channels cannot hold every colour; the others hold these exactly.
      expected[y][x] = bitmap->bpp() == 16 ? bitmap->pixelRGB(x, y) : rgb;
    }
  const QImage image = ToQImage(bitmap);
  ASSERT_EQ(image.size(), QSize(7, 4));
  EXPECT_NE(image.constBits(), bitmap->bits());
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 7; ++x) {
      const uint32_t rgb = expected[y][x];
      ASSERT_EQ(image.pixel(x, y) & 0xFFFFFF, qRgb(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF) & 0xFFFFFF)
          << x << "," << y;
    }
}

INSTANTIATE_TEST_SUITE_P(Layouts, ConvertedLayoutTest,
                         testing::Values(LayoutCase{32, RowOrder::BottomUp}, LayoutCase{24, RowOrder::BottomUp},
                                         LayoutCase{24, RowOrder::TopDown}, LayoutCase{16, RowOrder::BottomUp},
                                         LayoutCase{8, RowOrder::BottomUp}, LayoutCase{4, RowOrder::TopDown},
                                         LayoutCase{1, RowOrder::BottomUp}));

TEST(ToBitmap, CopiesIntoA32BitTopDownBitmap) {
  QImage image(3, 2, QImage::Format_RGB888);
  image.fill(QColor(1, 2, 3));
  image.setPixel(2, 1, qRgb(200, 100, 50));
  const auto bitmap = ToBitmap(image);
  ASSERT_TRUE(bitmap);
  EXPECT_EQ(bitmap->bpp(), 32);
  EXPECT_EQ(bitmap->rowOrder(), RowOrder::TopDown);
  EXPECT_EQ(bitmap->pixelRGB(0, 0), 0x00030201u);
  EXPECT_EQ(bitmap->pixelRGB(2, 1), 0x003264C8u);
}

TEST(ToBitmap, LaysTransparencyOnWhite) {
  QImage image(3, 1, QImage::Format_ARGB32);
  image.setPixel(0, 0, qRgba(0, 0, 0, 0));
  image.setPixel(1, 0, qRgba(255, 0, 0, 255));
  image.setPixel(2, 0, qRgba(0, 0, 255, 128));
  const auto bitmap = ToBitmap(image);
  ASSERT_TRUE(bitmap);
  EXPECT_EQ(bitmap->pixelRGB(0, 0), 0x00FFFFFFu);
  EXPECT_EQ(bitmap->pixelRGB(1, 0), 0x000000FFu);
  const uint32_t half = bitmap->pixelRGB(2, 0);
  EXPECT_NEAR(static_cast<int>(half & 0xFF), 127, 2);
  EXPECT_NEAR(static_cast<int>((half >> 8) & 0xFF), 127, 2);
  EXPECT_EQ((half >> 16) & 0xFF, 255u);
}

TEST(ToBitmap, NullImageGivesNothing) { EXPECT_EQ(ToBitmap(QImage()), nullptr); }

TEST(Conversion, RoundTripIsExact) {
  QImage image(16, 9, QImage::Format_RGB32);
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 16; ++x) image.setPixel(x, y, qRgb(x * 16, y * 28, (x * y) % 256));
  const QImage back = ToQImage(ToBitmap(image));
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 16; ++x) ASSERT_EQ(back.pixel(x, y), image.pixel(x, y));
}

}  // namespace
}  // namespace lumora
