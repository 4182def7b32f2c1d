// The raster basics the codecs build on: BitBlt's clipping, channel masks widened by
// replication, and the vector nearest-colour table against the plain search.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "imaging/raster/Blit.h"
#include "imaging/raster/ColorMatch.h"

namespace lumora::raster {
namespace {

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

TEST(RasterBitmap, ChannelMasksWidenByReplication) {
  auto b = Bitmap::Create(1, 1, 16, RowOrder::TopDown, ChannelMasks{0xF800, 0x07E0, 0x001F});
  b->setPixelValue(0, 0, 0xF800);
  EXPECT_EQ(b->pixelRGB(0, 0), 0x0000FFu);
  b->setPixelValue(0, 0, 0x0410);  // green 100000b -> 0x82, blue 10000b -> 0x84
  EXPECT_EQ(b->pixelRGB(0, 0), 0x848200u);
  EXPECT_EQ(b->valueForRGB(0xFFFFFF), 0xFFFFu);
  auto d = Bitmap::Create(1, 1, 16);
  EXPECT_EQ(d->valueForRGB(0x0000FF), 0x7C00u);
}

// The vector table must answer as the plain search does: tables of every size class (padding
// to four entries), duplicate entries (ties), extreme channel values, and every colour of a
// coarse grid plus random ones.
TEST(RasterColourMatch, VectorTableGivesThePlainSearchsAnswers) {
  std::mt19937 random(31);
  auto byte = [&] { return static_cast<uint8_t>(random() & 0xFF); };
  std::vector<std::vector<RGBQuad>> tables;
  for (size_t size : {1u, 2u, 3u, 4u, 5u, 7u, 16u, 17u, 100u, 255u, 256u}) {
    std::vector<RGBQuad> table(size);
    for (RGBQuad& e : table) e = {byte(), byte(), byte(), 0};
    tables.push_back(table);
  }
  std::vector<RGBQuad> duplicates(64);
  for (size_t i = 0; i < duplicates.size(); ++i) duplicates[i] = {static_cast<uint8_t>(i / 4 * 16), 0, 255, 0};
  tables.push_back(duplicates);
  tables.push_back({{0, 0, 0, 0}, {255, 255, 255, 0}, {0, 0, 0, 0}, {255, 255, 255, 0}, {128, 128, 128, 0}});
  std::vector<uint32_t> colours;
  for (uint32_t b = 0; b < 256; b += 17)
    for (uint32_t g = 0; g < 256; g += 17)
      for (uint32_t r = 0; r < 256; r += 17) colours.push_back(r | g << 8 | b << 16);
  for (int i = 0; i < 2000; ++i) colours.push_back(random() & 0xFFFFFF);
  for (const auto& table : tables) {
    SCOPED_TRACE(table.size());
    const NearestColourTable vector(table);
    for (uint32_t rgb : colours) ASSERT_EQ(vector.Nearest(rgb), NearestIndex(table, rgb)) << std::hex << rgb;
  }
}

}  // namespace
}  // namespace lumora::raster
