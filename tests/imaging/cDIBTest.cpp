// cDIB: errors and their numbers, the fit of the GIF route's thumbnail, pictures in and out, and
// bitmap files with their row order kept.
#include "imaging/cDIB.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "base/LumoraError.h"
#include "imaging/raster/BmpFile.h"

namespace lumora {
namespace {

TEST(cDIB, BadSizesFailAndOverflowRaises) {
  cDIB dib;
  EXPECT_FALSE(dib.Create(0, 5, 24));
  EXPECT_FALSE(dib.Create(5, -1, 24));
  EXPECT_FALSE(dib.Create(5, 5, 2));
  ASSERT_TRUE(dib.Create(4, 4, 8));
  try {
    dib.Create(60000, 60000, 32);
    ADD_FAILURE() << "no error";
  } catch (const LumoraError& e) {
    EXPECT_EQ(e.number(), ErrorNumber::kOverflow);
  }
  EXPECT_EQ(std::make_tuple(dib.hDIb(), dib.Width(), dib.Size()), std::make_tuple(nullptr, 0, 0));
  EXPECT_THROW(dib.Create(INT32_MAX, 1, 32), LumoraError);
}

// Fits a box keeping the ratio, halves rounded to even; stretch also enlarges.
TEST(cDIB, BestFit) {
  struct Case { int32_t w, h, boxW, boxH; bool stretch; int32_t left, top, width, height; };
  for (const Case c : {Case{100, 50, 150, 150, false, 25, 50, 100, 50}, {600, 300, 150, 150, false, 0, 37, 150, 75},
                       {100, 50, 150, 150, true, 0, 37, 150, 75}, {300, 600, 150, 150, false, 37, 0, 75, 150},
                       {300, 300, 150, 150, false, 0, 0, 150, 150}, {10, 5, 5, 10, false, 0, 4, 5, 2},
                       {10, 7, 5, 10, false, 0, 3, 5, 4}, {200, 10, 100, 100, false, 0, 47, 100, 5}}) {
    cDIB dib;
    ASSERT_TRUE(dib.Create(c.w, c.h, 8));
    int32_t left = -1, top = -1, width = -1, height = -1;
    dib.GetBestFitInfo(c.boxW, c.boxH, left, top, width, height, c.stretch);
    EXPECT_EQ(std::make_tuple(left, top, width, height), std::make_tuple(c.left, c.top, c.width, c.height)) << c.w << "x" << c.h;
  }
}

// A picture keeps its depth and table unless 32 bits are asked for; the picture made back is an
// independent upright 32-bit copy.
TEST(cDIB, PicturesInAndOut) {
  auto bitmap = raster::Bitmap::Create(4, 2, 8, raster::RowOrder::BottomUp);
  bitmap->colorTable()[3] = raster::RGBQuad{10, 20, 30, 0};
  bitmap->setPixelValue(1, 1, 3);
  cDIB dib, wide;
  EXPECT_EQ(dib.CreateFromStdPicture(raster::StdPicture(bitmap)), 8);
  EXPECT_EQ(std::make_tuple(dib.BPP(), dib.hDIb()->pixelValue(1, 1), dib.lpBits()[dib.BytesPerScanLine() + 1]),
            std::make_tuple(8, 3u, uint8_t{3}));
  EXPECT_EQ(wide.CreateFromStdPicture(raster::StdPicture(bitmap), true), 8) << "the picture's depth";
  EXPECT_EQ(std::make_pair(wide.BPP(), wide.hDIb()->pixelRGB(1, 1)), std::make_pair(32, 0x0A141Eu));
  const auto picture = dib.Image();
  EXPECT_EQ(std::make_pair(picture.Handle()->bpp(), picture.Handle()->pixelRGB(1, 1)), std::make_pair(32, 0x0A141Eu));
  dib.Cls(0xFFFFFF);
  EXPECT_EQ(picture.Handle()->pixelRGB(1, 1), 0x0A141Eu);
  EXPECT_EQ(dib.CreateFromStdPicture(raster::StdPicture::OfType(raster::PictureType::Icon)), 0);
  EXPECT_TRUE(cDIB().Image().IsNull());
}

TEST(cDIB, BitmapFiles) {
  const auto dir = std::filesystem::temp_directory_path() / ("cdib_test_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  cDIB dib;
  ASSERT_TRUE(dib.Create(3, 3, 24));
  try {
    dib.CreateFromBitmapFile(dir / "nothing.bmp");
    ADD_FAILURE() << "no error";
  } catch (const LumoraError& e) {
    EXPECT_EQ(std::make_pair(e.number(), e.description()), std::make_pair(53, std::string("File not found")));
  }
  std::ofstream(dir / "empty.bmp").close();
  EXPECT_EQ(dib.CreateFromBitmapFile(dir / "empty.bmp"), 0);
  EXPECT_EQ(dib.Width(), 3) << "an empty file keeps the surface";
  std::ofstream(dir / "bad.bmp") << "this is not a bitmap at all";
  EXPECT_EQ(dib.CreateFromBitmapFile(dir / "bad.bmp"), 0);
  EXPECT_EQ(dib.hDIb(), nullptr);
  auto bitmap = raster::Bitmap::Create(3, 2, 24, raster::RowOrder::BottomUp);
  bitmap->setPixelValue(0, 0, 0xAABBCC);  // top row
  bitmap->setPixelValue(0, 1, 0x112233);
  ASSERT_TRUE(raster::WriteBmpFile(dir / "two.bmp", *bitmap));
  EXPECT_EQ(dib.CreateFromBitmapFile(dir / "two.bmp"), 24);
  EXPECT_EQ(std::make_tuple(dib.lpBits()[0], dib.lpBits()[12]), std::make_tuple(0x33, 0xCC)) << "bottom row first in memory";
  cDIB clone;
  dib.CloneTo(clone);
  EXPECT_EQ(clone.lpBits()[0], 0xCC) << "a clone is stored top row first";
  EXPECT_EQ(clone.hDIb()->pixelValue(0, 1), 0x112233u);
  EXPECT_EQ(dib.Image().Handle()->pixelRGB(0, 0), 0xCCBBAAu);
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace lumora
