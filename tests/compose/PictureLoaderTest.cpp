#include "compose/PictureLoader.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QImage>
#include <QTemporaryDir>
#include <fstream>

#include "ComposeTestSupport.h"
#include "HostileFiles.h"
#include "imaging/cDIB.h"
#include "imaging/cPal8bpp.h"
#include "imaging/mGIFSave.h"

namespace lumora {
namespace {

class PictureLoaderTest : public testing::Test {
 protected:
  std::filesystem::path Path(const std::string& name) const { return std::filesystem::path(m_dir.path().toStdString()) / name; }

  std::filesystem::path WriteBytes(const std::string& name, const QByteArray& bytes) const {
    const auto path = Path(name);
    std::ofstream(path, std::ios::binary).write(bytes.constData(), bytes.size());
    return path;
  }

  // A picture with distinct corners so a flipped or shifted load shows.
  static QImage Sample() {
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(qRgb(0, 128, 255));
    image.setPixel(0, 0, qRgb(255, 0, 0));
    image.setPixel(39, 29, qRgb(0, 255, 0));
    return image;
  }

  // Qt writes every format but GIF; GIF files come from our own writer.
  static bool SaveSample(const std::filesystem::path& path, const char* format) {
    if (std::string(format) != "gif") return Sample().save(QString::fromStdString(path.string()), format, 100);
    cDIB dib;
    dib.Create(40, 30, 8);
    cPal8bpp palette;
    palette.Initialize(3);
    const uint8_t entries[12] = {255, 128, 0, 0, 0, 0, 255, 0, 0, 255, 0, 0};  // blue, green, red, 0
    palette.SetPalette(entries);
    for (int y = 0; y < 30; ++y) std::fill_n(dib.lpBits() + y * dib.BytesPerScanLine(), 40, uint8_t{0});
    dib.lpBits()[0] = 1;
    dib.lpBits()[29 * dib.BytesPerScanLine() + 39] = 2;
    return mGIFSave::SaveGIF(path, dib, palette, -1, false, {});
  }

  QTemporaryDir m_dir;
};

struct FormatCase {
  const char* format;
  int tolerance;
};

class LoadFormatTest : public PictureLoaderTest, public testing::WithParamInterface<FormatCase> {};

TEST_P(LoadFormatTest, LoadsIntoA32BitTopDownPicture) {
  const auto path = Path(std::string("sample.") + GetParam().format);
  ASSERT_TRUE(SaveSample(path, GetParam().format));
  const LoadedPicture loaded = LoadPictureFile(path);
  ASSERT_TRUE(loaded) << loaded.error;
  const raster::Bitmap* bitmap = loaded.picture.Handle();
  ASSERT_EQ(bitmap->width(), 40);
  ASSERT_EQ(bitmap->height(), 30);
  EXPECT_EQ(bitmap->bpp(), 32);
  EXPECT_EQ(bitmap->rowOrder(), raster::RowOrder::TopDown);
  const int t = GetParam().tolerance;
  const uint32_t corner = bitmap->pixelRGB(0, 0), far = bitmap->pixelRGB(39, 29), middle = bitmap->pixelRGB(20, 15);
  if (t == 0) {  // a lone pixel does not survive lossy compression
    EXPECT_EQ(corner, 0x000000FFu);
    EXPECT_EQ(far, 0x0000FF00u);
  }
  EXPECT_NEAR(static_cast<int>(middle & 0xFF), 0, t);
  EXPECT_NEAR(static_cast<int>((middle >> 8) & 0xFF), 128, t);
  EXPECT_NEAR(static_cast<int>((middle >> 16) & 0xFF), 255, t);
}

INSTANTIATE_TEST_SUITE_P(Formats, LoadFormatTest,
                         testing::Values(FormatCase{"png", 0}, FormatCase{"bmp", 0}, FormatCase{"gif", 0},
                                         FormatCase{"jpg", 6}),
                         [](const auto& info) { return std::string(info.param.format); });

TEST_F(PictureLoaderTest, BitmapsKeepEveryPixel) {
  const auto path = Path("exact.bmp");
  QImage image(13, 7, QImage::Format_RGB32);
  for (int y = 0; y < 7; ++y)
    for (int x = 0; x < 13; ++x) image.setPixel(x, y, qRgb(x * 19, y * 36, 255 - x * y));
  ASSERT_TRUE(image.save(QString::fromStdString(path.string()), "BMP"));
  const LoadedPicture loaded = LoadPictureFile(path);
  ASSERT_TRUE(loaded) << loaded.error;
  for (int y = 0; y < 7; ++y)
    for (int x = 0; x < 13; ++x) {
      const QRgb c = image.pixel(x, y);
      ASSERT_EQ(loaded.picture.Handle()->pixelRGB(x, y),
                static_cast<uint32_t>(qRed(c) | (qGreen(c) << 8) | (qBlue(c) << 16)));
    }
}

TEST_F(PictureLoaderTest, TransparentPngLiesOnWhite) {
  QImage image(4, 4, QImage::Format_ARGB32);
  image.fill(qRgba(0, 0, 0, 0));
  const auto path = Path("clear.png");
  ASSERT_TRUE(image.save(QString::fromStdString(path.string())));
  const LoadedPicture loaded = LoadPictureFile(path);
  ASSERT_TRUE(loaded);
  EXPECT_EQ(loaded.picture.Handle()->pixelRGB(2, 2), 0xFFFFFFu);
}

TEST_F(PictureLoaderTest, MissingFileIsAnError) {
  const LoadedPicture loaded = LoadPictureFile(Path("nothing.png"));
  EXPECT_FALSE(loaded);
  EXPECT_FALSE(loaded.error.empty());
  EXPECT_FALSE(LoadPictureFile(m_dir.path().toStdString()));  // a folder is no picture
}

struct BadFileCase {
  const char* name;
  QByteArray bytes;
};

class BadPictureTest : public PictureLoaderTest, public testing::WithParamInterface<BadFileCase> {};

TEST_P(BadPictureTest, GivesAClearErrorAndNoPicture) {
  const LoadedPicture loaded = LoadPictureFile(WriteBytes(GetParam().name, GetParam().bytes));
  EXPECT_FALSE(loaded);
  EXPECT_FALSE(loaded.error.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Hostile, BadPictureTest,
    testing::Values(BadFileCase{"empty.png", QByteArray()}, BadFileCase{"text.jpg", QByteArray("hello, world\n")},
                    BadFileCase{"truncated.png", test::PngClaiming(64, 64).left(30)},
                    BadFileCase{"huge.png", test::PngClaiming(60000, 60000)},
                    BadFileCase{"wide.png", test::PngClaiming(1u << 31, 1)},
                    BadFileCase{"huge.bmp", test::BmpClaiming(60000, 60000)},
                    BadFileCase{"negative.bmp", test::BmpClaiming(-5, 10)},
                    BadFileCase{"magic-only.bmp", QByteArray("BM")},
                    BadFileCase{"zero.gif", QByteArray("GIF89a\x00\x00\x00\x00\x00\x00\x00;", 14)}),
    [](const auto& info) {
      std::string n = info.param.name;
      for (char& c : n)
        if (!isalnum(static_cast<unsigned char>(c))) c = '_';
      return n;
    });

TEST_F(PictureLoaderTest, LoadPictureIntoKeepsThePreviousPictureOnFailure) {
  raster::StdPicture target = test::PlainPicture(3, 3, 0x123456);
  const raster::Bitmap* before = target.Handle();
  EXPECT_FALSE(LoadPictureInto(WriteBytes("bad.png", "not a picture"), target));
  EXPECT_EQ(target.Handle(), before);

  const auto good = Path("good.png");
  ASSERT_TRUE(Sample().save(QString::fromStdString(good.string())));
  EXPECT_TRUE(LoadPictureInto(good, target));
  EXPECT_EQ(target.Width(), 40);
}

}  // namespace
}  // namespace lumora
