// Pictures in and out: 32-bit top-down bitmaps shared with QImages, and template pictures of every
// format loaded as such pictures (other layouts converted), failures keeping the old one.
#include "compose/ImageConversion.h"
#include "compose/PictureLoader.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <fstream>

#include "ComposeTestSupport.h"
#include "imaging/cDIB.h"
#include "imaging/cPal8bpp.h"
#include "imaging/mGIFSave.h"

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

TEST(PictureLoader, LoadsEveryFormatUpright) {
  QTemporaryDir dir;
  QImage sample(40, 30, QImage::Format_RGB32);  // distinct corners: a flipped or shifted load shows
  sample.fill(qRgb(0, 128, 255));
  sample.setPixel(0, 0, qRgb(255, 0, 0));
  sample.setPixel(39, 29, qRgb(0, 255, 0));
  for (const auto& [format, tolerance] : {std::pair{"png", 0}, {"bmp", 0}, {"gif", 0}, {"jpg", 6}}) {
    SCOPED_TRACE(format);
    const std::filesystem::path path = dir.path().toStdString() + "/sample." + format;
    if (std::string(format) != "gif") {
      ASSERT_TRUE(sample.save(QString::fromStdString(path.string()), format, 100));
    } else {  // Qt writes no GIF: ours does
      cDIB dib;
      dib.Create(40, 30, 8);
      cPal8bpp palette;
      palette.SetPalette(std::vector<uint8_t>{255, 128, 0, 0, 0, 0, 255, 0, 0, 255, 0, 0});  // blue, green, red, 0
      dib.lpBits()[0] = 1;
      dib.lpBits()[29 * dib.BytesPerScanLine() + 39] = 2;
      ASSERT_TRUE(mGIFSave::SaveGIF(path, dib, palette, -1, false, {}));
    }
    const LoadedPicture loaded = LoadPictureFile(path);
    ASSERT_TRUE(loaded) << loaded.error;
    const raster::Bitmap& b = *loaded.picture.Handle();
    ASSERT_EQ(std::make_tuple(b.width(), b.height(), b.bpp(), b.rowOrder()), std::make_tuple(40, 30, 32, raster::RowOrder::TopDown));
    if (tolerance == 0) {  // a lone pixel does not survive lossy compression
      EXPECT_EQ(b.pixelRGB(0, 0), 0x000000FFu);
      EXPECT_EQ(b.pixelRGB(39, 29), 0x0000FF00u);
    }
    const uint32_t middle = b.pixelRGB(20, 15);
    EXPECT_NEAR(static_cast<int>(middle & 0xFF), 0, tolerance);
    EXPECT_NEAR(static_cast<int>((middle >> 8) & 0xFF), 128, tolerance);
    EXPECT_NEAR(static_cast<int>((middle >> 16) & 0xFF), 255, tolerance);
  }
  QImage clear(4, 4, QImage::Format_ARGB32);
  clear.fill(qRgba(0, 0, 0, 0));
  ASSERT_TRUE(clear.save(dir.path() + "/clear.png"));
  EXPECT_EQ(LoadPictureFile(dir.path().toStdString() + "/clear.png").picture.Handle()->pixelRGB(2, 2), 0xFFFFFFu)
      << "transparency lies on white";
}

TEST(PictureLoader, FailuresKeepThePreviousPicture) {
  QTemporaryDir dir;
  const std::filesystem::path bad = dir.path().toStdString() + "/bad.png", good = dir.path().toStdString() + "/good.png";
  std::ofstream(bad) << "not a picture";
  for (const std::filesystem::path& path : {bad, std::filesystem::path(dir.path().toStdString()), good}) {
    const LoadedPicture loaded = LoadPictureFile(path);
    EXPECT_FALSE(loaded) << path;
    EXPECT_FALSE(loaded.error.empty());
  }
  raster::StdPicture target = test::PlainPicture(3, 3, 0x123456);
  const raster::Bitmap* before = target.Handle();
  EXPECT_FALSE(LoadPictureInto(bad, target));
  EXPECT_EQ(target.Handle(), before);
  ASSERT_TRUE(test::WhiteImage(40, 30).save(QString::fromStdString(good.string())));
  EXPECT_TRUE(LoadPictureInto(good, target));
  EXPECT_EQ(target.Width(), 40);
}

}  // namespace
}  // namespace lumora
