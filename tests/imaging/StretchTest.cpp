// StretchBlt: colour-on-colour drops rows and columns, halftone averages areas exactly as a
// double-precision reference does, negative extents mirror, clipping and refusal.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "imaging/raster/Blit.h"

namespace lumora::raster {
namespace {

std::shared_ptr<Bitmap> Random24(int32_t w, int32_t h, unsigned seed) {
  auto b = Bitmap::Create(w, h, 24);
  std::mt19937 rng(seed);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) b->setPixelValue(x, y, rng() & 0xFFFFFF);
  return b;
}

std::shared_ptr<Bitmap> Row8(std::initializer_list<uint32_t> values) {
  auto b = Bitmap::Create(static_cast<int32_t>(values.size()), 1, 8);
  int32_t x = 0;
  for (uint32_t v : values) b->setPixelValue(x++, 0, v);
  return b;
}

std::vector<uint32_t> RowOf(const Bitmap& b, int32_t y = 0) {
  std::vector<uint32_t> out;
  for (int32_t x = 0; x < b.width(); ++x) out.push_back(b.pixelValue(x, y));
  return out;
}

TEST(StretchNearest, ShrinkTakesPixelCentres) {
  auto src = Row8({1, 2, 3, 4, 5, 6, 7, 8});
  auto dst = Bitmap::Create(3, 1, 8);
  ASSERT_EQ(StretchBlt(*dst, 0, 0, 3, 1, *src, 0, 0, 8, 1, SRCCOPY, COLORONCOLOR), 1);
  // Centres 8/6, 8/2, 40/6 -> columns 1, 4, 6.
  EXPECT_EQ(RowOf(*dst), (std::vector<uint32_t>{2, 5, 7}));
}

TEST(StretchNearest, EnlargeRepeatsPixels) {
  auto src = Row8({1, 2, 3});
  auto dst = Bitmap::Create(7, 1, 8);
  StretchBlt(*dst, 0, 0, 7, 1, *src, 0, 0, 3, 1, SRCCOPY, COLORONCOLOR);
  EXPECT_EQ(RowOf(*dst), (std::vector<uint32_t>{1, 1, 2, 2, 2, 3, 3}));
}

struct MirrorCase {
  int32_t x, w, xs, ws;
  std::vector<uint32_t> want;
};

class StretchMirror : public ::testing::TestWithParam<MirrorCase> {};

TEST_P(StretchMirror, NegativeExtentsMirror) {
  const auto& c = GetParam();
  for (int mode : {COLORONCOLOR, HALFTONE}) {
    auto src = Row8({1, 2, 3, 4});
    for (size_t i = 0; i < 256; ++i)  // distinct entries so halftone maps back to the same index
      src->colorTable()[i] = RGBQuad{static_cast<uint8_t>(i), 0, 0, 0};
    auto dst = Bitmap::Create(4, 1, 8);
    std::ranges::copy(src->colorTable(), dst->colorTable().begin());
    ASSERT_EQ(StretchBlt(*dst, c.x, 0, c.w, 1, *src, c.xs, 0, c.ws, 1, SRCCOPY, mode), 1);
    EXPECT_EQ(RowOf(*dst), c.want) << "mode " << mode;
  }
}

INSTANTIATE_TEST_SUITE_P(Table, StretchMirror,
                         ::testing::Values(MirrorCase{4, -4, 0, 4, {4, 3, 2, 1}}, MirrorCase{0, 4, 4, -4, {4, 3, 2, 1}},
                                           MirrorCase{4, -4, 4, -4, {1, 2, 3, 4}}, MirrorCase{0, 4, 0, 4, {1, 2, 3, 4}},
                                           MirrorCase{3, -2, 0, 2, {0, 2, 1, 0}}));

TEST(StretchNearest, VerticalMirrorAndDroppedRows) {
  auto src = Bitmap::Create(1, 6, 8);
  for (int32_t y = 0; y < 6; ++y) src->setPixelValue(0, y, static_cast<uint32_t>(y + 1));
  auto dst = Bitmap::Create(1, 3, 8);
  StretchBlt(*dst, 0, 3, 1, -3, *src, 0, 0, 1, 6, SRCCOPY, COLORONCOLOR);
  EXPECT_EQ(dst->pixelValue(0, 0), 6u);
  EXPECT_EQ(dst->pixelValue(0, 1), 4u);
  EXPECT_EQ(dst->pixelValue(0, 2), 2u);
}

TEST(StretchNearest, OtherModesBehaveLikeColourOnColour) {
  auto src = Random24(9, 7, 3);
  auto a = Bitmap::Create(4, 3, 24), b = Bitmap::Create(4, 3, 24);
  StretchBlt(*a, 0, 0, 4, 3, *src, 0, 0, 9, 7, SRCCOPY, COLORONCOLOR);
  StretchBlt(*b, 0, 0, 4, 3, *src, 0, 0, 9, 7, SRCCOPY, BLACKONWHITE);
  EXPECT_EQ(0, std::memcmp(a->bits(), b->bits(), a->sizeBytes()));
}

// The exact average of the source area each destination pixel covers.
uint32_t ReferenceArea(const Bitmap& src, double x0, double x1, double y0, double y1) {
  double sum[3] = {0, 0, 0}, area = 0;
  for (int32_t y = static_cast<int32_t>(std::floor(y0)); y < y1; ++y)
    for (int32_t x = static_cast<int32_t>(std::floor(x0)); x < x1; ++x) {
      const double w = (std::min<double>(x + 1, x1) - std::max<double>(x, x0)) * (std::min<double>(y + 1, y1) - std::max<double>(y, y0));
      if (w <= 0) continue;
      const uint32_t c = src.pixelRGB(x, y);
      for (int k = 0; k < 3; ++k) sum[k] += w * ((c >> (8 * k)) & 0xFF);
      area += w;
    }
  uint32_t out = 0;
  for (int k = 0; k < 3; ++k) out |= static_cast<uint32_t>(std::lround(sum[k] / area)) << (8 * k);
  return out;
}

struct SizeCase {
  int32_t sw, sh, dw, dh;
};

class StretchHalftone : public ::testing::TestWithParam<SizeCase> {};

// A random picture of the given depth (indexed ones with a table of distinct colours).
std::shared_ptr<Bitmap> RandomAt(int bpp, const SizeCase& c) {
  auto src = Bitmap::Create(c.sw, c.sh, bpp);
  const auto random = Random24(c.sw, c.sh, static_cast<unsigned>(c.sw * 31 + c.dw));
  for (size_t i = 0; i < src->colorTable().size(); ++i)
    src->colorTable()[i] = RGBQuad{uint8_t(i * 7), uint8_t(255 - i), uint8_t(i), 0};
  for (int32_t y = 0; y < c.sh; ++y)
    for (int32_t x = 0; x < c.sw; ++x)
      src->setPixelValue(x, y, bpp == 8 ? random->pixelValue(x, y) & 0xFF : src->valueForRGB(random->pixelRGB(x, y)));
  return src;
}

// Blue-green-red sources are averaged from their bytes, others from their colours: both ways.
TEST_P(StretchHalftone, MatchesExactAreaAverageWithinOneLevel) {
  const auto& c = GetParam();
  for (int bpp : {24, 32, 8, 16}) {
    const auto src = RandomAt(bpp, c);
    auto dst = Bitmap::Create(c.dw, c.dh, 32);
    ASSERT_EQ(StretchBlt(*dst, 0, 0, c.dw, c.dh, *src, 0, 0, c.sw, c.sh, SRCCOPY, HALFTONE), 1);
    const double fx = static_cast<double>(c.sw) / c.dw, fy = static_cast<double>(c.sh) / c.dh;
    for (int32_t y = 0; y < c.dh; ++y)
      for (int32_t x = 0; x < c.dw; ++x) {
        const uint32_t want = ReferenceArea(*src, x * fx, (x + 1) * fx, y * fy, (y + 1) * fy);
        const uint32_t got = dst->pixelRGB(x, y);
        for (int k = 0; k < 3; ++k) {
          const int diff = static_cast<int>((got >> (8 * k)) & 0xFF) - static_cast<int>((want >> (8 * k)) & 0xFF);
          ASSERT_LE(std::abs(diff), 1) << bpp << " bits at " << x << "," << y << " channel " << k;
        }
      }
  }
}

INSTANTIATE_TEST_SUITE_P(Table, StretchHalftone,
                         ::testing::Values(SizeCase{8, 8, 4, 4}, SizeCase{9, 7, 4, 3}, SizeCase{3, 3, 2, 2},
                                           SizeCase{3, 2, 7, 5}, SizeCase{1, 1, 5, 3}, SizeCase{200, 113, 15, 8},
                                           SizeCase{17, 5, 17, 2}, SizeCase{5, 17, 13, 17}));

TEST(StretchHalftone, FractionalCoverage) {
  auto src = Bitmap::Create(3, 1, 24);
  src->setPixelValue(0, 0, 0);
  src->setPixelValue(1, 0, 90);
  src->setPixelValue(2, 0, 180);
  auto dst = Bitmap::Create(2, 1, 24);
  StretchBlt(*dst, 0, 0, 2, 1, *src, 0, 0, 3, 1, SRCCOPY, HALFTONE);
  // Pixel 0 covers source [0, 1.5): (0 + 90 / 2) / 1.5 = 30; pixel 1 covers [1.5, 3): 150.
  EXPECT_EQ(dst->pixelValue(0, 0), 30u);
  EXPECT_EQ(dst->pixelValue(1, 0), 150u);
}

TEST(StretchHalftone, UniformColourStaysExact) {
  auto src = Bitmap::Create(1920, 1080, 32);
  for (int32_t y = 0; y < 1080; ++y)
    for (int32_t x = 0; x < 1920; ++x) src->setPixelValue(x, y, 0x2565C9);
  auto dst = Bitmap::Create(150, 84, 32);
  StretchBlt(*dst, 0, 0, 150, 84, *src, 0, 0, 1920, 1080, SRCCOPY, HALFTONE);
  for (int32_t y = 0; y < 84; ++y)
    for (int32_t x = 0; x < 150; ++x) ASSERT_EQ(dst->pixelValue(x, y), 0x2565C9u) << x << "," << y;
}

TEST(StretchHalftone, IntoIndexedTargetPicksNearestEntry) {
  auto src = Bitmap::Create(2, 1, 24);
  src->setPixelValue(0, 0, 0x000000);
  src->setPixelValue(1, 0, 0xC8C8C8);  // average 100
  auto dst = Bitmap::Create(1, 1, 8);
  for (size_t i = 0; i < 256; ++i) {
    const auto g = static_cast<uint8_t>(i);
    dst->colorTable()[i] = RGBQuad{g, g, g, 0};
  }
  StretchBlt(*dst, 0, 0, 1, 1, *src, 0, 0, 2, 1, SRCCOPY, HALFTONE);
  EXPECT_EQ(dst->pixelValue(0, 0), 100u);
}

TEST(Stretch, DestinationClippedSourceSamplesOutsideSkipped) {
  auto src = Row8({1, 2});
  auto dst = Bitmap::Create(4, 1, 8);
  for (int32_t x = 0; x < 4; ++x) dst->setPixelValue(x, 0, 9);
  // Source rectangle 0..4 of a 2-pixel row: the right half has no source and stays as it was.
  StretchBlt(*dst, -1, 0, 8, 1, *src, 0, 0, 4, 1, SRCCOPY, COLORONCOLOR);
  EXPECT_EQ(RowOf(*dst), (std::vector<uint32_t>{1, 2, 2, 9}));
}

TEST(Stretch, RasterOperationsAndSameSizeCopy) {
  auto src = Row8({0x0F, 0xF0});
  auto dst = Row8({0x3C, 0x3C, 0x3C, 0x3C});
  StretchBlt(*dst, 0, 0, 4, 1, *src, 0, 0, 2, 1, SRCAND, COLORONCOLOR);
  EXPECT_EQ(RowOf(*dst), (std::vector<uint32_t>{0x0C, 0x0C, 0x30, 0x30}));
  StretchBlt(*dst, 0, 0, 2, 1, *src, 0, 0, 2, 1, SRCPAINT, HALFTONE);
  EXPECT_EQ(RowOf(*dst), (std::vector<uint32_t>{0x0F, 0xFC, 0x30, 0x30}));
}

TEST(Stretch, InPlaceReadsTheOriginal) {
  auto b = Row8({1, 2, 3, 4});
  StretchBlt(*b, 0, 0, 4, 1, *b, 0, 0, 2, 1, SRCCOPY, COLORONCOLOR);
  EXPECT_EQ(RowOf(*b), (std::vector<uint32_t>{1, 1, 2, 2}));
}

TEST(Stretch, RefusesZeroHugeAndUnknown) {
  auto src = Row8({1, 2}), dst = Row8({0, 0});
  EXPECT_EQ(StretchBlt(*dst, 0, 0, 0, 1, *src, 0, 0, 2, 1, SRCCOPY, COLORONCOLOR), 0);
  EXPECT_EQ(StretchBlt(*dst, 0, 0, 2, 1, *src, 0, 0, 2, 0, SRCCOPY, HALFTONE), 0);
  EXPECT_EQ(StretchBlt(*dst, 0, 0, INT32_MAX, 1, *src, 0, 0, 2, 1, SRCCOPY, HALFTONE), 0);
  EXPECT_EQ(StretchBlt(*dst, 0, 0, 2, 1, *src, 0, 0, INT32_MIN, 1, SRCCOPY, COLORONCOLOR), 0);
  EXPECT_EQ(StretchBlt(*dst, 0, 0, 2, 1, *src, 0, 0, 1, 1, 0x00660046, COLORONCOLOR), 0);
  EXPECT_EQ(RowOf(*dst), (std::vector<uint32_t>{0, 0}));
  // A huge source onto one pixel only looks at the source pixels that exist.
  EXPECT_EQ(StretchBlt(*dst, 0, 0, 1, 1, *src, 0, 0, 1 << 26, 1, SRCCOPY, HALFTONE), 1);
}

TEST(Stretch, ContextFormUsesDestinationMode) {
  auto srcBitmap = Bitmap::Create(2, 1, 24);
  srcBitmap->setPixelValue(0, 0, 0);
  srcBitmap->setPixelValue(1, 0, 0xC8C8C8);
  auto src = CreateCompatibleDC(), dst = CreateCompatibleDC();
  src->SelectBitmap(srcBitmap);
  auto out = Bitmap::Create(1, 1, 24);
  dst->SelectBitmap(out);
  dst->SetStretchBltMode(HALFTONE);
  ASSERT_EQ(StretchBlt(dst.get(), 0, 0, 1, 1, src.get(), 0, 0, 2, 1, SRCCOPY), 1);
  EXPECT_EQ(out->pixelValue(0, 0), 0x646464u);
  dst->SetStretchBltMode(COLORONCOLOR);
  StretchBlt(dst.get(), 0, 0, 1, 1, src.get(), 0, 0, 2, 1, SRCCOPY);
  EXPECT_EQ(out->pixelValue(0, 0), 0xC8C8C8u);
  EXPECT_EQ(StretchBlt(nullptr, 0, 0, 1, 1, src.get(), 0, 0, 2, 1, SRCCOPY), 0);
}

}  // namespace
}  // namespace lumora::raster
