// BitBlt and PlgBlt: every depth pair, raster operations, clipping, overlap and colour matching.
#include "imaging/raster/Blit.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace lumora::raster {
namespace {

// The eight corners of the colour cube are exact in every true-colour format, 5-5-5 included.
constexpr std::array<uint32_t, 8> kCorners = {0x000000, 0x0000FF, 0x00FF00, 0x00FFFF,
                                              0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};

RGBQuad Quad(uint32_t rgb) {
  return RGBQuad{static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8), static_cast<uint8_t>(rgb), 0};
}

// A bitmap whose table (if any) starts with as many corner colours as it holds, the rest grey.
std::shared_ptr<Bitmap> MakeBitmap(int32_t w, int32_t h, int bpp, RowOrder order = RowOrder::TopDown) {
  auto b = Bitmap::Create(w, h, bpp, order);
  auto table = b->colorTable();
  for (size_t i = 0; i < table.size(); ++i)
    table[i] = i < kCorners.size() && table.size() > 2 ? Quad(kCorners[i]) : Quad(static_cast<uint32_t>(0x010101 * (i * 255 / (table.size() - 1))));
  return b;
}

// Independent nearest-colour search: smallest squared distance, lowest index on ties.
uint32_t ExpectedNearest(const Bitmap& b, uint32_t rgb) {
  int best = 1 << 30;
  uint32_t bestRgb = 0;
  for (const auto& q : b.colorTable()) {
    const int dr = q.red - static_cast<int>(rgb & 0xFF), dg = q.green - static_cast<int>((rgb >> 8) & 0xFF),
              db = q.blue - static_cast<int>(rgb >> 16);
    if (dr * dr + dg * dg + db * db < best) {
      best = dr * dr + dg * dg + db * db;
      bestRgb = static_cast<uint32_t>(q.red | (q.green << 8) | (q.blue << 16));
    }
  }
  return bestRgb;
}

struct DepthPair {
  int src, dst;
};

class BitBltDepths : public ::testing::TestWithParam<DepthPair> {};

TEST_P(BitBltDepths, ColoursSurviveOrMatchNearest) {
  const auto [srcBpp, dstBpp] = GetParam();
  auto src = MakeBitmap(13, 5, srcBpp, RowOrder::BottomUp);
  auto dst = MakeBitmap(13, 5, dstBpp);
  for (int32_t y = 0; y < 5; ++y)
    for (int32_t x = 0; x < 13; ++x) {
      const uint32_t rgb = srcBpp == 1 ? ((x + y) % 2 ? 0xFFFFFF : 0) : kCorners[static_cast<size_t>(x + 3 * y) % 8];
      src->setPixelValue(x, y, src->valueForRGB(rgb));
    }
  ASSERT_EQ(BitBlt(*dst, 0, 0, 13, 5, *src, 0, 0, SRCCOPY), 1);
  for (int32_t y = 0; y < 5; ++y)
    for (int32_t x = 0; x < 13; ++x) {
      const uint32_t rgb = src->pixelRGB(x, y);
      const uint32_t want = dstBpp <= 8 ? ExpectedNearest(*dst, rgb) : rgb;
      ASSERT_EQ(dst->pixelRGB(x, y), want) << srcBpp << "->" << dstBpp << " at " << x << "," << y;
    }
}

std::vector<DepthPair> AllPairs() {
  std::vector<DepthPair> pairs;
  for (int s : {1, 4, 8, 16, 24, 32})
    for (int d : {1, 4, 8, 16, 24, 32}) pairs.push_back({s, d});
  return pairs;
}

INSTANTIATE_TEST_SUITE_P(All, BitBltDepths, ::testing::ValuesIn(AllPairs()),
                         [](const auto& info) { return std::to_string(info.param.src) + "to" + std::to_string(info.param.dst); });

TEST(BitBlt, SameTableCopiesIndicesEvenWhenEntriesRepeat) {
  auto src = Bitmap::Create(4, 1, 8), dst = Bitmap::Create(4, 1, 8);  // all entries black
  for (int32_t x = 0; x < 4; ++x) src->setPixelValue(x, 0, static_cast<uint32_t>(10 * x + 1));
  BitBlt(*dst, 0, 0, 4, 1, *src, 0, 0, SRCCOPY);
  for (int32_t x = 0; x < 4; ++x) EXPECT_EQ(dst->pixelValue(x, 0), static_cast<uint32_t>(10 * x + 1));
}

TEST(BitBlt, DifferentTableMatchesByColourLowestIndexOnTies) {
  auto src = Bitmap::Create(1, 1, 8), dst = Bitmap::Create(1, 1, 8);
  src->colorTable()[7] = Quad(0x00FF00);
  dst->colorTable()[3] = Quad(0x00FF00);
  dst->colorTable()[9] = Quad(0x00FF00);
  src->setPixelValue(0, 0, 7);
  BitBlt(*dst, 0, 0, 1, 1, *src, 0, 0, SRCCOPY);
  EXPECT_EQ(dst->pixelValue(0, 0), 3u);
}

TEST(BitBlt, ThirtyTwoBitsFromTwentyFourClearsTheFourthByte) {
  auto src = Bitmap::Create(1, 1, 24), dst = Bitmap::Create(1, 1, 32);
  dst->bits()[3] = 0x77;
  src->setPixelValue(0, 0, 0x123456);
  BitBlt(*dst, 0, 0, 1, 1, *src, 0, 0, SRCCOPY);
  EXPECT_EQ(dst->pixelValue(0, 0), 0x00123456u);
  // Between two 32-bit bitmaps the bytes are copied as they are.
  auto other = Bitmap::Create(1, 1, 32);
  other->setPixelValue(0, 0, 0xAB010203);
  BitBlt(*dst, 0, 0, 1, 1, *other, 0, 0, SRCCOPY);
  EXPECT_EQ(dst->pixelValue(0, 0), 0xAB010203u);
}

struct RopCase {
  int bpp;
  uint32_t rop, dst, src, want;
};

class BitBltRops : public ::testing::TestWithParam<RopCase> {};

TEST_P(BitBltRops, CombineDestinationValues) {
  const auto& c = GetParam();
  auto src = Bitmap::Create(3, 1, c.bpp), dst = Bitmap::Create(3, 1, c.bpp);
  for (int32_t x = 0; x < 3; ++x) {
    src->setPixelValue(x, 0, c.src);
    dst->setPixelValue(x, 0, c.dst);
  }
  ASSERT_EQ(BitBlt(*dst, 1, 0, 2, 1, *src, 0, 0, c.rop), 1);
  EXPECT_EQ(dst->pixelValue(0, 0), c.dst);
  EXPECT_EQ(dst->pixelValue(1, 0), c.want);
  EXPECT_EQ(dst->pixelValue(2, 0), c.want);
}

INSTANTIATE_TEST_SUITE_P(Table, BitBltRops,
                         ::testing::Values(RopCase{8, SRCCOPY, 0x5A, 0x0F, 0x0F}, RopCase{8, SRCAND, 0x5A, 0x0F, 0x0A},
                                           RopCase{8, SRCPAINT, 0x5A, 0x0F, 0x5F}, RopCase{4, SRCAND, 0xC, 0x6, 0x4},
                                           RopCase{4, SRCPAINT, 0x9, 0x6, 0xF}, RopCase{1, SRCAND, 1, 0, 0},
                                           RopCase{1, SRCPAINT, 0, 1, 1}, RopCase{24, SRCAND, 0xFF00FF, 0x123456, 0x120056},
                                           RopCase{24, SRCPAINT, 0x0000F0, 0x10200F, 0x1020FF},
                                           RopCase{32, SRCAND, 0xFFFFFFFF, 0x00ABCDEF, 0x00ABCDEF},
                                           RopCase{16, SRCPAINT, 0x7C00, 0x001F, 0x7C1F}));

TEST(BitBlt, RopAppliesToValuesAfterColourConversion) {
  // A white 24-bit source ANDed onto an 8-bit picture keeps the destination's index bits only where
  // the nearest entry for white (255) has them.
  auto src = Bitmap::Create(1, 1, 24), dst = Bitmap::Create(1, 1, 8);
  for (size_t i = 0; i < 256; ++i) dst->colorTable()[i] = Quad(static_cast<uint32_t>(0x010101 * i));
  src->setPixelValue(0, 0, 0x0F0F0F);  // nearest grey index 15
  dst->setPixelValue(0, 0, 0xF3);
  BitBlt(*dst, 0, 0, 1, 1, *src, 0, 0, SRCAND);
  EXPECT_EQ(dst->pixelValue(0, 0), 0x03u);
}

TEST(BitBlt, UnsupportedRopAndMissingBitmapsFail) {
  auto a = Bitmap::Create(2, 2, 24), b = Bitmap::Create(2, 2, 24);
  EXPECT_EQ(BitBlt(*a, 0, 0, 2, 2, *b, 0, 0, 0x00660046), 0);
  auto dc = CreateCompatibleDC();
  auto other = CreateCompatibleDC();
  other->SelectBitmap(b);
  EXPECT_EQ(BitBlt(dc.get(), 0, 0, 2, 2, other.get(), 0, 0, SRCCOPY), 0);
  EXPECT_EQ(BitBlt(other.get(), 0, 0, 2, 2, nullptr, 0, 0, SRCCOPY), 0);
  dc->SelectBitmap(a);
  EXPECT_EQ(BitBlt(dc.get(), 0, 0, 2, 2, other.get(), 0, 0, SRCCOPY), 1);
}

std::shared_ptr<Bitmap> Numbered(int32_t w, int32_t h) {
  auto b = Bitmap::Create(w, h, 8);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) b->setPixelValue(x, y, static_cast<uint32_t>(1 + x + 16 * y));
  return b;
}

struct ClipCase {
  int32_t x, y, w, h, xs, ys;
};

class BitBltClipping : public ::testing::TestWithParam<ClipCase> {};

TEST_P(BitBltClipping, OnlyPixelsInsideBothBitmapsChange) {
  const auto& c = GetParam();
  auto src = Numbered(5, 4);
  auto dst = Bitmap::Create(6, 3, 8);
  ASSERT_EQ(BitBlt(*dst, c.x, c.y, c.w, c.h, *src, c.xs, c.ys, SRCCOPY), 1);
  for (int32_t y = 0; y < 3; ++y)
    for (int32_t x = 0; x < 6; ++x) {
      const int32_t sx = x - c.x + c.xs, sy = y - c.y + c.ys;
      const bool inRect = x >= c.x && x < c.x + c.w && y >= c.y && y < c.y + c.h;
      const bool inSrc = sx >= 0 && sx < 5 && sy >= 0 && sy < 4;
      EXPECT_EQ(dst->pixelValue(x, y), inRect && inSrc ? src->pixelValue(sx, sy) : 0u) << x << "," << y;
    }
}

INSTANTIATE_TEST_SUITE_P(Table, BitBltClipping,
                         ::testing::Values(ClipCase{0, 0, 5, 4, 0, 0}, ClipCase{-2, -1, 5, 4, 0, 0},
                                           ClipCase{3, 1, 10, 10, 0, 0}, ClipCase{0, 0, 6, 3, -2, -1},
                                           ClipCase{1, 0, 4, 3, 3, 2}, ClipCase{-100, -100, 200, 200, 0, 0},
                                           ClipCase{2, 1, 0, 2, 0, 0}, ClipCase{2, 1, -3, 2, 0, 0},
                                           ClipCase{INT32_MAX - 1, 0, 5, 5, 0, 0},
                                           ClipCase{0, 0, INT32_MAX, INT32_MAX, INT32_MIN + 1, 0}));

TEST(BitBlt, OverlappingCopyWithinOneBitmap) {
  auto b = Numbered(4, 4);
  auto before = Numbered(4, 4);
  BitBlt(*b, 1, 1, 3, 3, *b, 0, 0, SRCCOPY);  // shift down-right by one
  for (int32_t y = 1; y < 4; ++y)
    for (int32_t x = 1; x < 4; ++x) EXPECT_EQ(b->pixelValue(x, y), before->pixelValue(x - 1, y - 1));
  auto c = Numbered(4, 4);
  BitBlt(*c, 0, 0, 3, 3, *c, 1, 1, SRCCOPY);  // shift up-left by one
  for (int32_t y = 0; y < 3; ++y)
    for (int32_t x = 0; x < 3; ++x) EXPECT_EQ(c->pixelValue(x, y), before->pixelValue(x + 1, y + 1));
}

TEST(BitBlt, SubByteDepthsAtOddPositions) {
  auto src = Bitmap::Create(11, 1, 1), dst = Bitmap::Create(11, 1, 1);
  src->colorTable()[1] = Quad(0xFFFFFF);
  dst->colorTable()[1] = Quad(0xFFFFFF);
  for (int32_t x = 0; x < 11; ++x) src->setPixelValue(x, 0, x % 3 == 0);
  BitBlt(*dst, 3, 0, 7, 1, *src, 1, 0, SRCCOPY);
  for (int32_t x = 0; x < 11; ++x) {
    const bool inside = x >= 3 && x < 10;
    EXPECT_EQ(dst->pixelValue(x, 0), inside ? static_cast<uint32_t>((x - 2) % 3 == 0) : 0u) << x;
  }
}

// PlgBlt onto the parallelogram of a mirror, a quarter turn and a plain 2x enlargement.
TEST(PlgBlt, QuarterTurnsAndScalingLandOnExactPixels) {
  auto srcBitmap = Numbered(3, 2);
  auto src = CreateCompatibleDC(), dst = CreateCompatibleDC();
  src->SelectBitmap(srcBitmap);
  auto out = Bitmap::Create(2, 3, 8);
  dst->SelectBitmap(out);
  const Point ccw[3] = {{0, 3}, {0, 0}, {2, 3}};
  ASSERT_EQ(PlgBlt(dst.get(), ccw, src.get(), 0, 0, 3, 2), 1);
  for (int32_t y = 0; y < 2; ++y)
    for (int32_t x = 0; x < 3; ++x) EXPECT_EQ(out->pixelValue(y, 2 - x), srcBitmap->pixelValue(x, y));

  auto big = Bitmap::Create(6, 4, 8);
  dst->SelectBitmap(big);
  const Point doubled[3] = {{0, 0}, {6, 0}, {0, 4}};
  ASSERT_EQ(PlgBlt(dst.get(), doubled, src.get(), 0, 0, 3, 2), 1);
  for (int32_t y = 0; y < 4; ++y)
    for (int32_t x = 0; x < 6; ++x) EXPECT_EQ(big->pixelValue(x, y), srcBitmap->pixelValue(x / 2, y / 2));
}

TEST(PlgBlt, ShearLeavesPixelsOutsideTheParallelogramAlone) {
  auto srcBitmap = Bitmap::Create(2, 2, 24);
  for (int32_t y = 0; y < 2; ++y)
    for (int32_t x = 0; x < 2; ++x) srcBitmap->setPixelValue(x, y, 0xFFFFFF);
  auto src = CreateCompatibleDC(), dst = CreateCompatibleDC();
  src->SelectBitmap(srcBitmap);
  auto out = Bitmap::Create(4, 2, 24);
  dst->SelectBitmap(out);
  const Point sheared[3] = {{2, 0}, {4, 0}, {0, 2}};  // a parallelogram leaning left
  ASSERT_EQ(PlgBlt(dst.get(), sheared, src.get(), 0, 0, 2, 2), 1);
  // Row 0 (centre y 0.5) spans x 1.5 .. 3.5, row 1 (centre 1.5) spans 0.5 .. 2.5; left edges
  // belong to the parallelogram, right edges do not.
  const uint32_t want[2][4] = {{0, 0xFFFFFF, 0xFFFFFF, 0}, {0xFFFFFF, 0xFFFFFF, 0, 0}};
  for (int32_t y = 0; y < 2; ++y)
    for (int32_t x = 0; x < 4; ++x) EXPECT_EQ(out->pixelValue(x, y), want[y][x]) << x << "," << y;
}

TEST(PlgBlt, DegenerateOrHugeParallelogramsFail) {
  auto a = Bitmap::Create(2, 2, 24), b = Bitmap::Create(2, 2, 24);
  auto src = CreateCompatibleDC(), dst = CreateCompatibleDC();
  src->SelectBitmap(a);
  dst->SelectBitmap(b);
  const Point line[3] = {{0, 0}, {2, 2}, {1, 1}};
  EXPECT_EQ(PlgBlt(dst.get(), line, src.get(), 0, 0, 2, 2), 0);
  const Point huge[3] = {{INT32_MIN, 0}, {INT32_MAX, 0}, {0, INT32_MAX}};
  EXPECT_EQ(PlgBlt(dst.get(), huge, src.get(), 0, 0, 2, 2), 0);
  const Point fine[3] = {{0, 0}, {2, 0}, {0, 2}};
  EXPECT_EQ(PlgBlt(dst.get(), fine, src.get(), 0, 0, 0, 2), 0);
}

}  // namespace
}  // namespace lumora::raster
