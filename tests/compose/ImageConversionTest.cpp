// Bitmaps and QImages: the 32-bit top-down layout is shared, every other layout converted.
#include "compose/ImageConversion.h"

#include <gtest/gtest.h>

#include <QPainter>

namespace lumora {
namespace {

using raster::Bitmap;
using raster::RowOrder;

uint32_t Rgb(QRgb q) { return static_cast<uint32_t>(qRed(q) | qGreen(q) << 8 | qBlue(q) << 16); }

// Painting on the image paints on the bitmap, which lives as long as the image does; a picture's
// view detaches instead, since a picture's pixels never change.
TEST(ToQImage, SharesTheMemoryOfA32BitTopDownBitmap) {
  auto bitmap = Bitmap::Create(5, 3, 32, RowOrder::TopDown);
  bitmap->setPixelValue(4, 2, bitmap->valueForRGB(0x00336699));
  const std::weak_ptr<Bitmap> watch = bitmap;
  QImage image = ToQImage(bitmap);
  ASSERT_EQ(image.format(), QImage::Format_RGB32);
  EXPECT_EQ(image.constBits(), bitmap->bits());
  EXPECT_EQ(Rgb(image.pixel(4, 2)), 0x00336699u);
  QPainter(&image).fillRect(0, 0, 1, 1, QColor(10, 20, 30));
  EXPECT_EQ(bitmap->pixelRGB(0, 0), 0x001E140Au);
  bitmap.reset();
  EXPECT_FALSE(watch.expired());
  image = QImage();
  EXPECT_TRUE(watch.expired());

  auto shared = Bitmap::Create(2, 2, 32, RowOrder::TopDown);
  QImage view = ToQImage(raster::StdPicture(shared));
  EXPECT_EQ(view.constBits(), shared->bits());
  view.setPixel(0, 0, qRgb(255, 255, 255));
  EXPECT_EQ(shared->pixelRGB(0, 0), 0u);
  EXPECT_TRUE(ToQImage(raster::StdPicture()).isNull());
}

TEST(ToQImage, EveryOtherLayoutIsConvertedPixelByPixel) {
  for (const auto& [bpp, order] : {std::pair{32, RowOrder::BottomUp}, {24, RowOrder::BottomUp}, {24, RowOrder::TopDown},
                                   {16, RowOrder::BottomUp}, {8, RowOrder::BottomUp}, {4, RowOrder::TopDown},
                                   {1, RowOrder::BottomUp}}) {
    SCOPED_TRACE(bpp);
    auto bitmap = Bitmap::Create(7, 4, bpp, order);
    if (bpp <= 8) bitmap->colorTable()[0] = {0x30, 0x20, 0x10, 0}, bitmap->colorTable()[1] = {0x01, 0x80, 0xF0, 0};
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 7; ++x)
        bitmap->setPixelValue(x, y, bitmap->valueForRGB(bpp <= 8 ? ((x + y) % 2 ? 0x000180F0u : 0x00302010u)
                                                                 : static_cast<uint32_t>(x * 36) | (y * 60u << 8) | 0x00C00000u));
    const QImage image = ToQImage(bitmap);
    ASSERT_EQ(image.size(), QSize(7, 4));
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 7; ++x) ASSERT_EQ(Rgb(image.pixel(x, y)), bitmap->pixelRGB(x, y)) << x << "," << y;
  }
}

TEST(ToBitmap, CopiesIntoA32BitTopDownBitmapOnWhite) {
  EXPECT_EQ(ToBitmap(QImage()), nullptr);
  QImage image(3, 2, QImage::Format_ARGB32);
  image.fill(qRgb(1, 2, 3));
  image.setPixel(0, 1, qRgba(0, 0, 0, 0));
  image.setPixel(2, 1, qRgba(200, 100, 50, 255));
  const auto bitmap = ToBitmap(image.convertToFormat(QImage::Format_RGB888));
  const auto clear = ToBitmap(image);
  ASSERT_TRUE(bitmap && clear);
  EXPECT_EQ(std::make_pair(bitmap->bpp(), bitmap->rowOrder()), std::make_pair(32, RowOrder::TopDown));
  EXPECT_EQ(bitmap->pixelRGB(0, 0), 0x00030201u);
  EXPECT_EQ(bitmap->pixelRGB(2, 1), 0x003264C8u);
  EXPECT_EQ(clear->pixelRGB(0, 1), 0x00FFFFFFu) << "transparency lies on white";
}

}  // namespace
}  // namespace lumora
