// cImage and cTile over the raster layer: depths chosen by the copies, colour tables carried,
// pixel positions of mirrors and quarter turns, and the fills of the three brush kinds.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "base/SystemColors.h"
#include "imaging/cDIB.h"
#include "imaging/cImage.h"
#include "imaging/cTile.h"

namespace lumora {
namespace {

using raster::Bitmap;
using raster::RGBQuad;

std::shared_ptr<Bitmap> Picture24(int32_t w, int32_t h) {
  auto b = Bitmap::Create(w, h, 24);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) b->setPixelValue(x, y, static_cast<uint32_t>(0x010203 * (1 + x + 10 * y)));
  return b;
}

TEST(cImage, CopiesChooseTheirDepthAndKeepColourTables) {
  cImage image;
  EXPECT_FALSE(image.Create(4, 4, 32));
  EXPECT_FALSE(image.Create(70000, 70000, 24));  // byte count overflows: a plain failure
  EXPECT_EQ(image.hdc(), nullptr);
  EXPECT_FALSE(image.CopyPalletHDC(nullptr));
  ASSERT_TRUE(image.Create(2, 3, 4));
  EXPECT_EQ(image.hdc()->bitmap()->colorTable()[15], (RGBQuad{255, 255, 255, 0}));  // grey ramp
  EXPECT_EQ(image.hdc()->bitmap()->colorTable()[1], (RGBQuad{17, 17, 17, 0}));
  EXPECT_EQ(image.BytesPerScanLine(), 4);

  for (int bpp : {16, 32}) {  // true colour of any depth becomes 24 bits
    auto b = Bitmap::Create(3, 2, bpp);
    b->setPixelValue(2, 1, b->valueForRGB(0x00FF00));
    ASSERT_TRUE(image.CopyStdPicture(raster::StdPicture(b)));
    EXPECT_EQ(image.BitCount(), 24);
    EXPECT_EQ(image.hdc()->bitmap()->pixelRGB(2, 1), 0x00FF00u);
  }
  EXPECT_FALSE(image.CopyStdPicture(raster::StdPicture::OfType(raster::PictureType::Icon)));
  auto indexed = Bitmap::Create(3, 2, 4);
  indexed->colorTable()[5] = RGBQuad{1, 2, 3, 0};
  indexed->setPixelValue(1, 1, 5);
  ASSERT_TRUE(image.CopyStdPicture(raster::StdPicture(indexed)));
  EXPECT_EQ(image.BitCount(), 4);
  EXPECT_EQ(image.hdc()->bitmap()->colorTable()[5], (RGBQuad{1, 2, 3, 0}));
  auto colour = Bitmap::Create(1, 1, 24);
  colour->setPixelValue(0, 0, 0x1E140A);  // red 10, green 20, blue 30: nearest grey 20
  ASSERT_TRUE(image.CopyStdPicture(raster::StdPicture(colour), 8));
  EXPECT_EQ(image.hdc()->bitmap()->pixelValue(0, 0), 20u);

  const int tableDepths[][2] = {{1, 1}, {4, 4}, {8, 8}, {24, 24}, {32, 24}};
  for (const auto& [dibBpp, want] : tableDepths) {
    cDIB dib;
    ASSERT_TRUE(dib.Create(5, 4, dibBpp));
    std::vector<uint8_t> whiteButFirst(1024, 0xFF);
    std::fill_n(whiteButFirst.begin(), 4, uint8_t{0});
    if (dibBpp <= 8) dib.SetPalette(whiteButFirst);  // the copy must carry this table
    dib.Cls(0xFFFFFF);
    dib.hDIb()->setPixelValue(3, 1, dib.hDIb()->valueForRGB(0));
    ASSERT_TRUE(image.CopyHDC(dib.hDIBDC(), 2, 2, 0, 3, 1));
    EXPECT_EQ(image.BitCount(), want) << dibBpp;
    EXPECT_EQ(image.hdc()->bitmap()->pixelRGB(0, 0), 0u) << dibBpp;
    EXPECT_EQ(image.hdc()->bitmap()->pixelRGB(1, 1), 0xFFFFFFu) << dibBpp;
  }
  cDIB palette;
  ASSERT_TRUE(palette.Create(2, 2, 8));
  palette.SetPalette(std::vector<uint8_t>(1024, 9));
  ASSERT_TRUE(image.Create(2, 2, 4));
  EXPECT_TRUE(image.CopyPalletHDC(palette.hDIBDC()));  // 16 of the 256 entries, copied whole
  EXPECT_EQ(image.hdc()->bitmap()->colorTable()[15], (RGBQuad{9, 9, 9, 9}));
  cDIB trueColour;
  ASSERT_TRUE(trueColour.Create(2, 2, 24));
  EXPECT_FALSE(image.CopyPalletHDC(trueColour.hDIBDC()));
}

TEST(cImage, PaintsGreysResamplesMirrorsAndTurns) {
  cImage image;
  ASSERT_TRUE(image.CopyStdPicture(raster::StdPicture(Picture24(4, 2))));
  cDIB target;
  ASSERT_TRUE(target.Create(6, 4, 24));
  target.Cls(0xFFFFFF);
  image.PaintHDC(target.hDIBDC(), 1, 2, raster::SRCAND);
  EXPECT_EQ(target.hDIb()->pixelValue(1, 2), 0x010203u);
  EXPECT_EQ(target.hDIb()->pixelValue(0, 0), 0xFFFFFFu);
  EXPECT_EQ(image.Greyscale()->BitCount(), 8);
  EXPECT_EQ(0, std::memcmp(image.Resample(4, 2)->DIBitsPtr(), image.DIBitsPtr(), 2 * 12));
  // Pixels 1, 2, 11, 12 times 0x010203 average to 6.5 x 0x010203: channels 6.5, 13, 19.5.
  const uint32_t half = image.Resample(2, 1)->hdc()->bitmap()->pixelValue(0, 0);
  EXPECT_EQ((half >> 8) & 0xFF, 13u);
  EXPECT_NEAR(static_cast<int>(half & 0xFF), 20, 1);
  EXPECT_EQ(image.Rotate(45), nullptr);

  // Where the pixel from (x, y) of the 5 x 3 picture lands; "angle" 0 and -1 are the mirrors.
  struct Transform {
    int32_t angle;
    int32_t (*tx)(int32_t x, int32_t y);
    int32_t (*ty)(int32_t x, int32_t y);
  };
  const Transform transforms[] = {
      {0, [](int32_t x, int32_t) { return x; }, [](int32_t, int32_t y) { return 2 - y; }},
      {-1, [](int32_t x, int32_t) { return 4 - x; }, [](int32_t, int32_t y) { return y; }},
      {90, [](int32_t, int32_t y) { return y; }, [](int32_t x, int32_t) { return 4 - x; }},  // counter-clockwise
      {-180, [](int32_t x, int32_t) { return 4 - x; }, [](int32_t, int32_t y) { return 2 - y; }},
      {630, [](int32_t, int32_t y) { return 2 - y; }, [](int32_t x, int32_t) { return x; }},
  };
  for (int16_t bpp : {1, 8, 24}) {
    ASSERT_TRUE(image.Create(5, 3, bpp));
    Bitmap& b = *image.hdc()->bitmap();
    const uint32_t mask = bpp == 24 ? 0xFFFFFF : (1u << bpp) - 1;
    for (int32_t y = 0; y < 3; ++y)
      for (int32_t x = 0; x < 5; ++x) b.setPixelValue(x, y, (static_cast<uint32_t>(x * 7 + y * 3 + 1) * 0x10101u) & mask);
    for (const auto& t : transforms) {
      const auto out = t.angle == 0 ? image.Mirror(true) : t.angle == -1 ? image.Mirror(false) : image.Rotate(t.angle);
      ASSERT_TRUE(out);
      ASSERT_EQ(out->BitCount(), bpp);
      for (int32_t y = 0; y < 3; ++y)
        for (int32_t x = 0; x < 5; ++x)
          ASSERT_EQ(out->hdc()->bitmap()->pixelValue(t.tx(x, y), t.ty(x, y)), b.pixelValue(x, y))
              << "bpp " << bpp << " angle " << t.angle << " at " << x << "," << y;
    }
  }
}

TEST(cDIB, ClonesResizesKeepsItsPaletteAndFitsBoxes) {
  cDIB dib, clone;
  dib.CloneTo(clone);  // nothing to clone: the target is emptied
  EXPECT_EQ(clone.hDIb(), nullptr);
  ASSERT_TRUE(dib.Create(4, 2, 8));
  std::vector<uint8_t> palette(1024);
  for (size_t i = 0; i < palette.size(); ++i) palette[i] = static_cast<uint8_t>(i / 4);
  dib.SetPalette(palette);
  dib.hDIb()->setPixelValue(3, 1, 77);
  dib.CloneTo(clone);
  std::vector<uint8_t> cloned;
  clone.GetPalette(cloned);
  EXPECT_EQ(cloned, palette);
  EXPECT_EQ(clone.hDIb()->pixelValue(3, 1), 77u);
  clone.Resize(8, 4, true);  // stretched: the pixel covers 2 x 2
  EXPECT_EQ(std::tuple(clone.Width(), clone.hDIb()->pixelValue(7, 3), clone.hDIb()->pixelValue(6, 2)),
            std::tuple(8, 77u, 77u));
  clone.GetPalette(cloned);
  EXPECT_EQ(cloned, palette);
  dib.Resize(6, 3);  // not stretched: the picture stays at its size in the corner
  EXPECT_EQ(std::pair(dib.hDIb()->pixelValue(3, 1), dib.hDIb()->pixelValue(4, 1)), std::pair(77u, 0u));
  cDIB target;
  ASSERT_TRUE(target.Create(6, 3, 8));
  target.SetPalette(palette);
  EXPECT_NE(target.LoadBlt(dib.hDIBDC(), 2, 1, 2, 1), 0);  // one rectangle at the same place
  EXPECT_EQ(std::pair(target.hDIb()->pixelValue(3, 1), target.hDIb()->pixelValue(2, 0)), std::pair(77u, 0u));

  const struct {
    int32_t w, h;
    bool stretch;
    int32_t left, top, width, height;
  } fits[] = {{10, 10, false, 3, 4, 4, 2}, {10, 10, true, 0, 2, 10, 5}, {2, 10, false, 0, 4, 2, 1}, {8, 1, false, 3, 0, 2, 1}};
  for (const auto& f : fits) {
    int32_t left = -1, top = -1, width = -1, height = -1;
    dib.Resize(4, 2);
    dib.GetBestFitInfo(f.w, f.h, left, top, width, height, f.stretch);
    EXPECT_EQ(std::tuple(left, top, width, height), std::tuple(f.left, f.top, f.width, f.height)) << f.w << "x" << f.h;
  }
}

struct Surface {
  std::unique_ptr<raster::DeviceContext> dc = raster::CreateCompatibleDC();
  std::shared_ptr<Bitmap> bitmap;
  Surface(int32_t w, int32_t h) : bitmap(Bitmap::Create(w, h, 24)) { dc->SelectBitmap(bitmap); }
  std::string Rows() const {
    std::string out;
    for (int32_t y = 0; y < bitmap->height(); ++y) {
      for (int32_t x = 0; x < bitmap->width(); ++x) {
        const uint32_t rgb = bitmap->pixelRGB(x, y);
        out += rgb == 0 ? '.' : rgb == 0xFFFFFF ? '#' : 'o';
      }
      out += '/';
    }
    return out;
  }
};

TEST(cTile, FillsWithHatchesPatternsAndSolidColours) {
  const std::pair<int, const char*> hatches[] = {
      {raster::HS_HORIZONTAL, "......../......../......../......../########/......../......../......../"},
      {raster::HS_VERTICAL, "....#.../....#.../....#.../....#.../....#.../....#.../....#.../....#.../"},
      {raster::HS_FDIAGONAL, "#......./.#....../..#...../...#..../....#.../.....#../......#./.......#/"},
      {raster::HS_BDIAGONAL, ".......#/......#./.....#../....#.../...#..../..#...../.#....../#......./"},
      {raster::HS_CROSS, "....#.../....#.../....#.../....#.../########/....#.../....#.../....#.../"},
      {raster::HS_DIAGCROSS, "#......#/.#....#./..#..#../...##.../...##.../..#..#../.#....#./#......#/"},
  };
  cTile tile;
  for (const auto& [style, cells] : hatches) {
    Surface s(8, 8);
    s.dc->SetBkMode(raster::TRANSPARENT);  // the background stays black
    ASSERT_TRUE(tile.SetPatternFromHatchBrush(style, 0xFFFFFF));
    tile.Tile(s.dc.get(), 0, 0, 8, 8);
    EXPECT_EQ(s.Rows(), cells) << style;
  }
  EXPECT_FALSE(tile.SetPatternFromHatchBrush(6, 0xFF));
  Surface opaque(4, 1);  // opaque background mode paints the gaps in the background colour
  opaque.dc->SetBkColor(0x808080);
  ASSERT_TRUE(tile.SetPatternFromHatchBrush(raster::HS_VERTICAL, 0xFFFFFF));
  tile.Tile(opaque.dc.get(), 0, 0, 4, 1, true);
  EXPECT_EQ(opaque.Rows(), "oooo/");

  auto stripes = Bitmap::Create(3, 1, 8);  // an indexed picture, copied by the brush
  stripes->colorTable()[1] = RGBQuad{255, 255, 255, 0};
  stripes->setPixelValue(0, 0, 1);
  ASSERT_TRUE(tile.SetPatternFromStdPicture(raster::StdPicture(stripes)));
  stripes->setPixelValue(1, 0, 1);
  Surface joined(10, 1), reset(10, 1);
  tile.Tile(joined.dc.get(), 0, 0, 4, 1);  // separate calls line up with (0, 0) ...
  tile.Tile(joined.dc.get(), 4, 0, 6, 1);
  tile.Tile(reset.dc.get(), 0, 0, 4, 1, true);  // ... or start at each rectangle's corner
  tile.Tile(reset.dc.get(), 4, 0, 6, 1, true);
  EXPECT_EQ(joined.Rows(), "#..#..#..#/");
  EXPECT_EQ(reset.Rows(), "#..##..#../");
  EXPECT_EQ(reset.dc->GetBrushOrg(), (raster::Point{4, 0}));

  EXPECT_FALSE(tile.SetPatternFromStdPicture(raster::StdPicture::OfType(raster::PictureType::Metafile)));
  Surface clipped(4, 3);
  tile.Tile(clipped.dc.get(), 0, 0, 4, 3);  // no pattern: nothing drawn
  ASSERT_TRUE(tile.SetPatternFromSolidColor(static_cast<Colour>(0x80000000u + SystemColors::kWindow)));
  tile.Tile(clipped.dc.get(), 1, 1, 2, 1);  // right and bottom edges exclusive
  tile.Tile(clipped.dc.get(), INT32_MAX - 1, 0, INT32_MAX, 1);
  tile.Tile(nullptr, 0, 0, 1, 1);
  EXPECT_EQ(clipped.bitmap->pixelRGB(1, 1), SystemColors::Get(SystemColors::kWindow));
  clipped.bitmap->setPixelValue(1, 1, 0xFFFFFF);
  clipped.bitmap->setPixelValue(2, 1, 0xFFFFFF);
  EXPECT_EQ(clipped.Rows(), "..../.##./..../");
  tile.DestroyPattern();
  EXPECT_FALSE(tile.HasPattern());
}

}  // namespace
}  // namespace lumora
