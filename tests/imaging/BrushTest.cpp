// Brushes and FillRect: the six hatch cells, background mode, brush origin, pattern tiling,
// clipping and colour matching on indexed bitmaps.
#include "imaging/raster/Brush.h"

#include <gtest/gtest.h>

#include <string>

namespace lumora::raster {
namespace {

std::string Cell(const Brush& brush) {
  std::string out;
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) out += brush.hatchBit(x, y) ? '#' : '.';
    out += '\n';
  }
  return out;
}

struct HatchCase {
  int style;
  const char* cell;
};

class HatchCells : public ::testing::TestWithParam<HatchCase> {};

TEST_P(HatchCells, Pattern) {
  const auto brush = Brush::Hatch(GetParam().style, 0);
  ASSERT_TRUE(brush);
  EXPECT_EQ(Cell(*brush), GetParam().cell);
}

INSTANTIATE_TEST_SUITE_P(
    Styles, HatchCells,
    ::testing::Values(
        HatchCase{HS_HORIZONTAL, "........\n........\n........\n........\n########\n........\n........\n........\n"},
        HatchCase{HS_VERTICAL, "....#...\n....#...\n....#...\n....#...\n....#...\n....#...\n....#...\n....#...\n"},
        HatchCase{HS_FDIAGONAL, "#.......\n.#......\n..#.....\n...#....\n....#...\n.....#..\n......#.\n.......#\n"},
        HatchCase{HS_BDIAGONAL, ".......#\n......#.\n.....#..\n....#...\n...#....\n..#.....\n.#......\n#.......\n"},
        HatchCase{HS_CROSS, "....#...\n....#...\n....#...\n....#...\n########\n....#...\n....#...\n....#...\n"},
        HatchCase{HS_DIAGCROSS, "#......#\n.#....#.\n..#..#..\n...##...\n...##...\n..#..#..\n.#....#.\n#......#\n"}));

TEST(Brush, Construction) {
  EXPECT_EQ(Brush::Hatch(-1, 0), nullptr);
  EXPECT_EQ(Brush::Hatch(6, 0), nullptr);
  const auto solid = Brush::Solid(0xFF123456);
  EXPECT_EQ(solid->kind(), Brush::Kind::Solid);
  EXPECT_EQ(solid->colour(), 0x123456u);
  EXPECT_FALSE(solid->hatchBit(4, 4));
  auto picture = Bitmap::Create(2, 2, 8);
  picture->colorTable()[1] = RGBQuad{0, 0, 255, 0};
  picture->setPixelValue(1, 1, 1);
  const auto pattern = Brush::Pattern(*picture);
  ASSERT_TRUE(pattern);
  EXPECT_EQ(pattern->pattern()->bpp(), 24);
  EXPECT_EQ(pattern->pattern()->pixelRGB(1, 1), 0x0000FFu);
  picture->setPixelValue(0, 0, 1);  // the brush holds a copy
  EXPECT_EQ(pattern->pattern()->pixelRGB(0, 0), 0u);
}

struct Canvas {
  std::unique_ptr<DeviceContext> dc = CreateCompatibleDC();
  std::shared_ptr<Bitmap> bitmap;
  Canvas(int32_t w, int32_t h, int bpp = 24) : bitmap(Bitmap::Create(w, h, bpp)) { dc->SelectBitmap(bitmap); }
  std::string Row(int32_t y, uint32_t ink) const {
    std::string out;
    for (int32_t x = 0; x < bitmap->width(); ++x) {
      const uint32_t c = bitmap->pixelRGB(x, y);
      out += c == ink ? '#' : c == 0 ? '.' : '?';
    }
    return out;
  }
};

TEST(FillRect, SolidRightAndBottomExclusiveAndClipped) {
  Canvas c(5, 3);
  EXPECT_EQ(FillRect(c.dc.get(), Rect{1, 1, 3, 2}, *Brush::Solid(0xFFFFFF)), 1);
  EXPECT_EQ(c.Row(0, 0xFFFFFF), ".....");
  EXPECT_EQ(c.Row(1, 0xFFFFFF), ".##..");
  EXPECT_EQ(c.Row(2, 0xFFFFFF), ".....");
  EXPECT_EQ(FillRect(c.dc.get(), Rect{-10, 2, 100, 100}, *Brush::Solid(0xFFFFFF)), 1);
  EXPECT_EQ(c.Row(2, 0xFFFFFF), "#####");
  EXPECT_EQ(FillRect(c.dc.get(), Rect{4, 0, 2, 3}, *Brush::Solid(0xFFFFFF)), 1);  // empty
  EXPECT_EQ(c.Row(0, 0xFFFFFF), ".....");
  auto bare = CreateCompatibleDC();
  EXPECT_EQ(FillRect(bare.get(), Rect{0, 0, 1, 1}, *Brush::Solid(0)), 0);
}

TEST(FillRect, HatchFollowsBrushOriginAndBackgroundMode) {
  Canvas c(10, 2);
  c.dc->SetBkColor(0x00FF00);
  c.dc->SetBkMode(TRANSPARENT);
  c.dc->SetBrushOrg(2, 0);
  FillRect(c.dc.get(), Rect{0, 0, 10, 2}, *Brush::Hatch(HS_VERTICAL, 0xFFFFFF));
  // The vertical line sits at cell column 4, shifted by the origin to x = 6 (and 6 - 8 = -2).
  EXPECT_EQ(c.Row(0, 0xFFFFFF), "......#...");
  c.dc->SetBkMode(OPAQUE);
  c.dc->SetBrushOrg(-3, 0);
  FillRect(c.dc.get(), Rect{0, 0, 10, 1}, *Brush::Hatch(HS_VERTICAL, 0xFFFFFF));
  std::string row;
  for (int32_t x = 0; x < 10; ++x) row += c.bitmap->pixelRGB(x, 0) == 0xFFFFFF ? '#' : c.bitmap->pixelRGB(x, 0) == 0x00FF00 ? 'g' : '.';
  EXPECT_EQ(row, "g#ggggggg#");
}

TEST(FillRect, PatternTilesFromOrigin) {
  auto picture = Bitmap::Create(3, 2, 24);
  picture->setPixelValue(0, 0, 0xFFFFFF);
  picture->setPixelValue(2, 1, 0xFFFFFF);
  const auto brush = Brush::Pattern(*picture);
  Canvas c(8, 4);
  c.dc->SetBrushOrg(1, 1);
  FillRect(c.dc.get(), Rect{0, 0, 8, 4}, *brush);
  EXPECT_EQ(c.Row(0, 0xFFFFFF), "#..#..#.");  // row 0 is pattern row 1
  EXPECT_EQ(c.Row(1, 0xFFFFFF), ".#..#..#");
  EXPECT_EQ(c.Row(2, 0xFFFFFF), "#..#..#.");
  EXPECT_EQ(c.Row(3, 0xFFFFFF), ".#..#..#");
}

TEST(FillRect, IndexedTargetsTakeTheNearestEntry) {
  Canvas c(4, 1, 4);
  c.bitmap->colorTable()[6] = RGBQuad{0, 0, 200, 0};
  c.bitmap->colorTable()[9] = RGBQuad{200, 0, 0, 0};
  FillRect(c.dc.get(), Rect{0, 0, 2, 1}, *Brush::Solid(0x0000FF));
  FillRect(c.dc.get(), Rect{2, 0, 4, 1}, *Brush::Solid(0xFF0000));
  EXPECT_EQ(c.bitmap->pixelValue(0, 0), 6u);
  EXPECT_EQ(c.bitmap->pixelValue(1, 0), 6u);
  EXPECT_EQ(c.bitmap->pixelValue(3, 0), 9u);
}

}  // namespace
}  // namespace lumora::raster
