// cTile: results of the three pattern kinds, tiling continuity with and without origin reset.
#include "imaging/cTile.h"

#include <gtest/gtest.h>

#include <string>

#include "base/SystemColors.h"

namespace lumora {
namespace {

using raster::Bitmap;

struct Surface {
  std::unique_ptr<raster::DeviceContext> dc = raster::CreateCompatibleDC();
  std::shared_ptr<Bitmap> bitmap;
  Surface(int32_t w, int32_t h) : bitmap(Bitmap::Create(w, h, 24)) { dc->SelectBitmap(bitmap); }
  std::string Row(int32_t y) const {
    std::string out;
    for (int32_t x = 0; x < bitmap->width(); ++x) out += bitmap->pixelRGB(x, y) ? '#' : '.';
    return out;
  }
};

raster::StdPicture Stripes() {
  auto b = Bitmap::Create(3, 1, 24);
  b->setPixelValue(0, 0, 0xFFFFFF);
  return raster::StdPicture(b);
}

TEST(cTile, TileWithoutPatternDrawsNothing) {
  cTile tile;
  Surface s(4, 2);
  tile.Tile(s.dc.get(), 0, 0, 4, 2);
  EXPECT_EQ(s.Row(0), "....");
  EXPECT_FALSE(tile.HasPattern());
}

TEST(cTile, NonBitmapPicturesGiveNoPattern) {
  cTile tile;
  EXPECT_TRUE(tile.SetPatternFromSolidColor(0xFFFFFF));
  EXPECT_FALSE(tile.SetPatternFromStdPicture(raster::StdPicture::OfType(raster::PictureType::Icon)));
  EXPECT_FALSE(tile.SetPatternFromStdPicture(raster::StdPicture::OfType(raster::PictureType::Metafile)));
  EXPECT_FALSE(tile.SetPatternFromStdPicture(raster::StdPicture()));
  Surface s(2, 1);
  tile.Tile(s.dc.get(), 0, 0, 2, 1);
  EXPECT_EQ(s.Row(0), "..");
  EXPECT_TRUE(tile.SetPatternFromStdPicture(Stripes()));
}

TEST(cTile, HatchAndSolidResults) {
  cTile tile;
  EXPECT_TRUE(tile.SetPatternFromHatchBrush(raster::HS_CROSS, 0xFF));
  EXPECT_FALSE(tile.SetPatternFromHatchBrush(9, 0xFF));
  EXPECT_TRUE(tile.SetPatternFromSolidColor(static_cast<Colour>(0x80000000u + SystemColors::kWindow)));
  Surface s(2, 1);
  tile.Tile(s.dc.get(), 0, 0, 2, 1);
  EXPECT_EQ(s.bitmap->pixelRGB(1, 0), SystemColors::Get(SystemColors::kWindow));
  tile.DestroyPattern();
  EXPECT_FALSE(tile.HasPattern());
}

TEST(cTile, AdjacentTilesContinueWithoutReset) {
  cTile tile;
  ASSERT_TRUE(tile.SetPatternFromStdPicture(Stripes()));
  Surface s(10, 1);
  tile.Tile(s.dc.get(), 0, 0, 4, 1);
  tile.Tile(s.dc.get(), 4, 0, 6, 1);
  EXPECT_EQ(s.Row(0), "#..#..#..#");
  EXPECT_EQ(s.dc->GetBrushOrg(), (raster::Point{0, 0}));
}

TEST(cTile, ResetStartsEachRectangleAtItsCorner) {
  cTile tile;
  ASSERT_TRUE(tile.SetPatternFromStdPicture(Stripes()));
  Surface s(10, 1);
  tile.Tile(s.dc.get(), 0, 0, 4, 1, true);
  tile.Tile(s.dc.get(), 4, 0, 6, 1, true);
  EXPECT_EQ(s.Row(0), "#..##..#..");
  EXPECT_EQ(s.dc->GetBrushOrg(), (raster::Point{4, 0}));
}

TEST(cTile, RightAndBottomEdgesExclusive) {
  cTile tile;
  ASSERT_TRUE(tile.SetPatternFromSolidColor(0xFFFFFF));
  Surface s(4, 3);
  tile.Tile(s.dc.get(), 1, 1, 2, 1);
  EXPECT_EQ(s.Row(0), "....");
  EXPECT_EQ(s.Row(1), ".##.");
  EXPECT_EQ(s.Row(2), "....");
  tile.Tile(nullptr, 0, 0, 1, 1);  // no context: nothing happens
  tile.Tile(s.dc.get(), INT32_MAX - 1, 0, INT32_MAX, 1);
  EXPECT_EQ(s.Row(0), "....");
}

}  // namespace
}  // namespace lumora
