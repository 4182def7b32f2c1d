// cImage: row layout, grey ramps, depth decisions of the copy operations, and the pixel
// positions of mirrors and quarter turns.
#include "imaging/cImage.h"

#include <gtest/gtest.h>

#include <cstring>

#include "imaging/cDIB.h"

namespace lumora {
namespace {

using raster::Bitmap;
using raster::RGBQuad;

struct ScanCase {
  int32_t width;
  int16_t bpp;
  int32_t bytes;
};

class cImageScanLine : public ::testing::TestWithParam<ScanCase> {};

TEST_P(cImageScanLine, Bytes) {
  cImage image;
  ASSERT_TRUE(image.Create(GetParam().width, 3, GetParam().bpp));
  EXPECT_EQ(image.BytesPerScanLine(), GetParam().bytes);
  EXPECT_EQ(image.BitCount(), GetParam().bpp);
}

INSTANTIATE_TEST_SUITE_P(Table, cImageScanLine,
                         ::testing::Values(ScanCase{1, 1, 4}, ScanCase{1, 4, 4}, ScanCase{1, 8, 4}, ScanCase{1, 24, 4},
                                           ScanCase{5, 1, 4}, ScanCase{5, 4, 4}, ScanCase{5, 8, 8}, ScanCase{5, 24, 16},
                                           ScanCase{33, 1, 8}, ScanCase{9, 4, 8}, ScanCase{4, 8, 4}, ScanCase{4, 24, 12}));

TEST(cImage, CreateRefusesOtherDepthsAndSizes) {
  cImage image;
  EXPECT_FALSE(image.Create(4, 4, 16));
  EXPECT_FALSE(image.Create(4, 4, 32));
  EXPECT_FALSE(image.Create(0, 4, 8));
  EXPECT_FALSE(image.Create(70000, 70000, 24));  // byte count overflows: a plain failure
  EXPECT_EQ(image.hdc(), nullptr);
  EXPECT_EQ(image.DIBitsPtr(), nullptr);
  EXPECT_EQ(image.Width(), 0);
}

TEST(cImage, GreyRampTables) {
  cImage image;
  ASSERT_TRUE(image.Create(2, 2, 1));
  auto table = image.hdc()->bitmap()->colorTable();
  EXPECT_EQ(table[0], (RGBQuad{0, 0, 0, 0}));
  EXPECT_EQ(table[1], (RGBQuad{255, 255, 255, 0}));
  ASSERT_TRUE(image.Create(2, 2, 4));
  table = image.hdc()->bitmap()->colorTable();
  for (size_t i = 0; i < 16; ++i) EXPECT_EQ(table[i].green, i * 17);
  ASSERT_TRUE(image.Create(2, 2, 8));
  table = image.hdc()->bitmap()->colorTable();
  for (size_t i = 0; i < 256; ++i) EXPECT_EQ(table[i], (RGBQuad{uint8_t(i), uint8_t(i), uint8_t(i), 0}));
}

TEST(cImage, RowsAreStoredBottomUp) {
  cImage image;
  ASSERT_TRUE(image.Create(2, 3, 24));
  image.hdc()->bitmap()->setPixelValue(0, 0, 0x123456);  // top row
  EXPECT_EQ(image.DIBitsPtr()[2 * image.BytesPerScanLine()], 0x56);
}

std::shared_ptr<Bitmap> Picture24(int32_t w, int32_t h) {
  auto b = Bitmap::Create(w, h, 24);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) b->setPixelValue(x, y, static_cast<uint32_t>(0x010203 * (1 + x + 10 * y)));
  return b;
}

TEST(cImage, CopyStdPictureTrueColourDepths) {
  for (int bpp : {16, 24, 32}) {
    auto b = Bitmap::Create(3, 2, bpp);
    b->setPixelValue(2, 1, b->valueForRGB(0x00FF00));
    cImage image;
    ASSERT_TRUE(image.CopyStdPicture(raster::StdPicture(b))) << bpp;
    EXPECT_EQ(image.BitCount(), 24) << bpp;
    EXPECT_EQ(image.hdc()->bitmap()->pixelRGB(2, 1), 0x00FF00u) << bpp;
  }
  cImage image;
  EXPECT_FALSE(image.CopyStdPicture(raster::StdPicture::OfType(raster::PictureType::Icon)));
}

TEST(cImage, CopyStdPictureIndexedKeepsTableAndIndices) {
  auto b = Bitmap::Create(3, 2, 4);
  b->colorTable()[5] = RGBQuad{1, 2, 3, 0};
  b->setPixelValue(1, 1, 5);
  cImage image;
  ASSERT_TRUE(image.CopyStdPicture(raster::StdPicture(b)));
  EXPECT_EQ(image.BitCount(), 4);
  EXPECT_EQ(image.hdc()->bitmap()->pixelValue(1, 1), 5u);
  EXPECT_EQ(image.hdc()->bitmap()->colorTable()[5], (RGBQuad{1, 2, 3, 0}));
}

TEST(cImage, CopyStdPictureAtGivenDepthMatchesGreys) {
  auto b = Bitmap::Create(1, 1, 24);
  b->setPixelValue(0, 0, 0x1E140A);  // red 10, green 20, blue 30: nearest grey is 20
  cImage image;
  ASSERT_TRUE(image.CopyStdPicture(raster::StdPicture(b), 8));
  EXPECT_EQ(image.hdc()->bitmap()->pixelValue(0, 0), 20u);
}

TEST(cImage, CopyHDCDecidesDepthFromColourTable) {
  struct Case {
    int dibBpp, entriesSet;
    int16_t want;
  };
  for (const Case c : {Case{1, 2, 1}, Case{4, 16, 4}, Case{8, 256, 8}, Case{24, 0, 24}, Case{32, 0, 24}}) {
    cDIB dib;
    ASSERT_TRUE(dib.Create(4, 3, c.dibBpp));
    dib.Cls(0xFFFFFF);
    cImage image;
    ASSERT_TRUE(image.CopyHDC(dib.hDIBDC(), 4, 3));
    EXPECT_EQ(image.BitCount(), c.want) << c.dibBpp;
  }
}

TEST(cImage, CopyHDCCopiesTheSourceRectangle) {
  cDIB dib;
  ASSERT_TRUE(dib.Create(5, 4, 24));
  for (int32_t y = 0; y < 4; ++y)
    for (int32_t x = 0; x < 5; ++x) dib.hDIb()->setPixelValue(x, y, static_cast<uint32_t>(x + 10 * y));
  cImage image;
  ASSERT_TRUE(image.CopyHDC(dib.hDIBDC(), 2, 2, 0, 3, 1));
  EXPECT_EQ(image.Width(), 2);
  EXPECT_EQ(image.hdc()->bitmap()->pixelValue(0, 0), 13u);
  EXPECT_EQ(image.hdc()->bitmap()->pixelValue(1, 1), 24u);
}

TEST(cImage, CopyPalletHDC) {
  cDIB dib;
  ASSERT_TRUE(dib.Create(2, 2, 8));
  std::vector<uint8_t> palette(1024, 9);
  dib.SetPalette(palette);
  cImage image;
  EXPECT_FALSE(image.CopyPalletHDC(dib.hDIBDC()));  // no bitmap yet
  ASSERT_TRUE(image.Create(2, 2, 4));
  EXPECT_TRUE(image.CopyPalletHDC(dib.hDIBDC()));  // 16 of the 256 entries
  EXPECT_EQ(image.hdc()->bitmap()->colorTable()[15], (RGBQuad{9, 9, 9, 9}));  // entries are copied whole
  cDIB trueColour;
  ASSERT_TRUE(trueColour.Create(2, 2, 24));
  EXPECT_FALSE(image.CopyPalletHDC(trueColour.hDIBDC()));
}

TEST(cImage, PaintHDCWithRasterOperation) {
  cImage image;
  ASSERT_TRUE(image.CopyStdPicture(raster::StdPicture(Picture24(2, 2))));
  cDIB target;
  ASSERT_TRUE(target.Create(4, 4, 24));
  target.Cls(0xFFFFFF);
  image.PaintHDC(target.hDIBDC(), 1, 2, raster::SRCAND);
  EXPECT_EQ(target.hDIb()->pixelValue(1, 2), 0x010203u);
  EXPECT_EQ(target.hDIb()->pixelValue(2, 3), 0x010203u * 12);
  EXPECT_EQ(target.hDIb()->pixelValue(0, 0), 0xFFFFFFu);
}

TEST(cImage, GreyscaleIsNearestGrey) {
  auto b = Bitmap::Create(2, 1, 24);
  b->setPixelValue(0, 0, 0x1E140A);
  b->setPixelValue(1, 0, 0x0000FF);  // pure red: nearest grey 85
  cImage image;
  ASSERT_TRUE(image.CopyStdPicture(raster::StdPicture(b)));
  const auto grey = image.Greyscale();
  ASSERT_EQ(grey->BitCount(), 8);
  EXPECT_EQ(grey->hdc()->bitmap()->pixelValue(0, 0), 20u);
  EXPECT_EQ(grey->hdc()->bitmap()->pixelValue(1, 0), 85u);
}

TEST(cImage, ResampleSameSizeIsExactAndShrinkAverages) {
  cImage image;
  ASSERT_TRUE(image.CopyStdPicture(raster::StdPicture(Picture24(4, 2))));
  const auto same = image.Resample(4, 2);
  EXPECT_EQ(0, std::memcmp(same->DIBitsPtr(), image.DIBitsPtr(), 2 * 12));
  const auto half = image.Resample(2, 1);
  // Pixels 1, 2, 11, 12 times 0x010203 average to 6.5 x 0x010203: channels 6.5, 13, 19.5.
  const uint32_t v = half->hdc()->bitmap()->pixelValue(0, 0);
  EXPECT_NEAR(static_cast<int>(v & 0xFF), 20, 1);
  EXPECT_EQ((v >> 8) & 0xFF, 13u);
  EXPECT_NEAR(static_cast<int>(v >> 16), 6, 1);
}

TEST(cImage, ResampleIndexedKeepsTable) {
  auto b = Bitmap::Create(2, 2, 8);
  for (size_t i = 0; i < 256; ++i) b->colorTable()[i] = RGBQuad{uint8_t(i), 0, 0, 0};
  for (int32_t y = 0; y < 2; ++y)
    for (int32_t x = 0; x < 2; ++x) b->setPixelValue(x, y, 100);
  cImage image;
  ASSERT_TRUE(image.CopyStdPicture(raster::StdPicture(b)));
  const auto big = image.Resample(5, 3);
  EXPECT_EQ(big->BitCount(), 8);
  EXPECT_EQ(big->hdc()->bitmap()->pixelValue(4, 2), 100u);
}

// Where the pixel from (x, y) of a w x h picture lands.
struct Transform {
  int32_t degrees;  // 0: mirror vertical, -1: mirror horizontal
  bool swaps;
  int32_t (*tx)(int32_t x, int32_t y, int32_t w, int32_t h);
  int32_t (*ty)(int32_t x, int32_t y, int32_t w, int32_t h);
};

TEST(cImage, MirrorsAndQuarterTurnsAtEveryDepth) {
  const Transform transforms[] = {
      {0, false, [](int32_t x, int32_t, int32_t, int32_t) { return x; }, [](int32_t, int32_t y, int32_t, int32_t h) { return h - 1 - y; }},
      {-1, false, [](int32_t x, int32_t, int32_t w, int32_t) { return w - 1 - x; }, [](int32_t, int32_t y, int32_t, int32_t) { return y; }},
      // A quarter turn counter-clockwise: the top-right corner goes to the top-left.
      {90, true, [](int32_t, int32_t y, int32_t, int32_t) { return y; }, [](int32_t x, int32_t, int32_t w, int32_t) { return w - 1 - x; }},
      {180, false, [](int32_t x, int32_t, int32_t w, int32_t) { return w - 1 - x; }, [](int32_t, int32_t y, int32_t, int32_t h) { return h - 1 - y; }},
      {270, true, [](int32_t, int32_t y, int32_t, int32_t h) { return h - 1 - y; }, [](int32_t x, int32_t, int32_t, int32_t) { return x; }},
  };
  for (int16_t bpp : {1, 4, 8, 24}) {
    cImage image;
    ASSERT_TRUE(image.Create(5, 3, bpp));
    Bitmap& b = *image.hdc()->bitmap();
    const uint32_t mask = bpp == 24 ? 0xFFFFFF : (1u << bpp) - 1;
    for (int32_t y = 0; y < 3; ++y)
      for (int32_t x = 0; x < 5; ++x) b.setPixelValue(x, y, (static_cast<uint32_t>(x * 7 + y * 3 + 1) * 0x10101u) & mask);
    for (const auto& t : transforms) {
      const auto out = t.degrees == 0 ? image.Mirror(true) : t.degrees == -1 ? image.Mirror(false) : image.Rotate(t.degrees);
      ASSERT_TRUE(out);
      ASSERT_EQ(out->Width(), t.swaps ? 3 : 5);
      ASSERT_EQ(out->Height(), t.swaps ? 5 : 3);
      ASSERT_EQ(out->BitCount(), bpp);
      for (int32_t y = 0; y < 3; ++y)
        for (int32_t x = 0; x < 5; ++x)
          ASSERT_EQ(out->hdc()->bitmap()->pixelValue(t.tx(x, y, 5, 3), t.ty(x, y, 5, 3)), b.pixelValue(x, y))
              << "bpp " << bpp << " transform " << t.degrees << " at " << x << "," << y;
    }
  }
}

TEST(cImage, RotateAngles) {
  cImage image;
  ASSERT_TRUE(image.CopyStdPicture(raster::StdPicture(Picture24(4, 3))));
  const auto minus = image.Rotate(-90), plus = image.Rotate(270), wrapped = image.Rotate(630);
  ASSERT_TRUE(minus && plus && wrapped);
  EXPECT_EQ(0, std::memcmp(minus->DIBitsPtr(), plus->DIBitsPtr(), static_cast<size_t>(plus->BytesPerScanLine() * 4)));
  EXPECT_EQ(0, std::memcmp(wrapped->DIBitsPtr(), plus->DIBitsPtr(), static_cast<size_t>(plus->BytesPerScanLine() * 4)));
  EXPECT_EQ(image.Rotate(45), nullptr);
  EXPECT_EQ(image.Rotate(360), nullptr);
  EXPECT_EQ(image.Rotate(0), nullptr);
  EXPECT_TRUE(image.Rotate(-180));
}

}  // namespace
}  // namespace lumora
