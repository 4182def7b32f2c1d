// cDIB: byte layouts, colour tables, result codes and the fit/resize arithmetic.
#include "imaging/cDIB.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "base/LumoraError.h"
#include "base/SystemColors.h"
#include "imaging/raster/BmpFile.h"

namespace lumora {
namespace {

using raster::Bitmap;
using raster::RGBQuad;

struct LayoutCase {
  int32_t width, height, bpp, bytesPerScanLine, size;
};

class cDIBLayout : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(cDIBLayout, RowBytesAndSize) {
  const auto& c = GetParam();
  cDIB dib;
  ASSERT_TRUE(dib.Create(c.width, c.height, c.bpp));
  EXPECT_EQ(dib.BytesPerScanLine(), c.bytesPerScanLine);
  EXPECT_EQ(dib.Size(), c.size);
  EXPECT_EQ(dib.Width(), c.width);
  EXPECT_EQ(dib.Height(), c.height);
  EXPECT_EQ(dib.BPP(), c.bpp);
  EXPECT_NE(dib.hDIBDC(), nullptr);
  EXPECT_EQ(dib.hDIBDC()->bitmap(), dib.hDIb());
}

INSTANTIATE_TEST_SUITE_P(Table, cDIBLayout,
                         ::testing::Values(LayoutCase{3, 2, 24, 12, 24}, LayoutCase{3, 2, 8, 4, 8},
                                           LayoutCase{17, 1, 1, 4, 4}, LayoutCase{1, 1, 32, 4, 4},
                                           LayoutCase{33, 3, 1, 8, 24}, LayoutCase{9, 2, 4, 8, 16},
                                           LayoutCase{3, 5, 16, 8, 40}, LayoutCase{640, 480, 32, 2560, 1228800}));

TEST(cDIB, FreshEightBitSurfaceIsZeroWithBlackTable) {
  cDIB dib;
  ASSERT_TRUE(dib.Create(7, 5, 8));
  std::vector<uint8_t> palette;
  dib.GetPalette(palette);
  ASSERT_EQ(palette.size(), 1024u);
  for (uint8_t b : palette) EXPECT_EQ(b, 0);
  for (int32_t i = 0; i < dib.Size(); ++i) ASSERT_EQ(dib.lpBits()[i], 0) << i;
}

TEST(cDIB, CreateStoresRowsTopFirst) {
  cDIB dib;
  ASSERT_TRUE(dib.Create(2, 3, 24));
  dib.hDIb()->setPixelValue(1, 0, 0x112233);
  EXPECT_EQ(dib.lpBits()[3], 0x33);
  EXPECT_EQ(dib.lpBits()[5], 0x11);
  dib.hDIb()->setPixelValue(0, 2, 0xABCDEF);
  EXPECT_EQ(dib.lpBits()[2 * dib.BytesPerScanLine()], 0xEF);
}

TEST(cDIB, OverflowIsRaisedAndLeavesObjectEmpty) {
  cDIB dib;
  ASSERT_TRUE(dib.Create(4, 4, 8));
  try {
    dib.Create(60000, 60000, 32);
    FAIL() << "no error";
  } catch (const LumoraError& e) {
    EXPECT_EQ(e.number(), ErrorNumber::kOverflow);
  }
  EXPECT_EQ(dib.hDIb(), nullptr);
  EXPECT_EQ(dib.Width(), 0);
  EXPECT_EQ(dib.Size(), 0);
  EXPECT_THROW(dib.Create(INT32_MAX, 1, 32), LumoraError);
}

TEST(cDIB, BadSizesAndDepthsFailQuietly) {
  cDIB dib;
  EXPECT_FALSE(dib.Create(0, 5, 24));
  EXPECT_FALSE(dib.Create(5, -1, 24));
  EXPECT_FALSE(dib.Create(5, 5, 2));
  EXPECT_EQ(dib.hDIBDC(), nullptr);
  EXPECT_EQ(dib.BytesPerScanLine(), 0);
}

TEST(cDIB, DestroyClearsEverything) {
  cDIB dib;
  ASSERT_TRUE(dib.Create(5, 5, 24));
  dib.Destroy();
  EXPECT_EQ(dib.hDIBDC(), nullptr);
  EXPECT_EQ(dib.hDIb(), nullptr);
  EXPECT_EQ(dib.lpBits(), nullptr);
  EXPECT_EQ(dib.Width() | dib.Height() | dib.BPP() | dib.BytesPerScanLine() | dib.Size(), 0);
}

TEST(cDIB, SetPaletteWritesOnlyWholeEntriesGiven) {
  cDIB dib;
  ASSERT_TRUE(dib.Create(2, 2, 8));
  std::vector<uint8_t> all(1024, 7);
  dib.SetPalette(all);
  const std::vector<uint8_t> three = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 99};  // 13 bytes: 3 entries
  dib.SetPalette(three);
  std::vector<uint8_t> palette;
  dib.GetPalette(palette);
  for (size_t i = 0; i < 12; ++i) EXPECT_EQ(palette[i], three[i]);
  for (size_t i = 12; i < 1024; ++i) ASSERT_EQ(palette[i], 7) << i;
}

TEST(cDIB, GetPaletteSizesByDepth) {
  cDIB dib;
  std::vector<uint8_t> palette = {42};
  ASSERT_TRUE(dib.Create(2, 2, 4));
  dib.GetPalette(palette);
  EXPECT_EQ(palette.size(), 64u);
  ASSERT_TRUE(dib.Create(2, 2, 1));
  dib.GetPalette(palette);
  EXPECT_EQ(palette.size(), 8u);
  palette = {42};
  ASSERT_TRUE(dib.Create(2, 2, 24));
  dib.GetPalette(palette);
  EXPECT_EQ(palette, std::vector<uint8_t>{42});
  dib.SetPalette(std::vector<uint8_t>(8, 1));  // ignored on true colour
  dib.Destroy();
  dib.GetPalette(palette);
  EXPECT_EQ(palette, std::vector<uint8_t>{42});
}

struct FitCase {
  int32_t w, h, dstW, dstH;
  bool stretch;
  int32_t left, top, width, height;
};

class cDIBBestFit : public ::testing::TestWithParam<FitCase> {};

TEST_P(cDIBBestFit, Numbers) {
  const auto& c = GetParam();
  cDIB dib;
  ASSERT_TRUE(dib.Create(c.w, c.h, 8));
  int32_t left = -1, top = -1, width = -1, height = -1;
  dib.GetBestFitInfo(c.dstW, c.dstH, left, top, width, height, c.stretch);
  EXPECT_EQ(left, c.left);
  EXPECT_EQ(top, c.top);
  EXPECT_EQ(width, c.width);
  EXPECT_EQ(height, c.height);
}

INSTANTIATE_TEST_SUITE_P(
    Table, cDIBBestFit,
    ::testing::Values(FitCase{100, 50, 150, 150, false, 25, 50, 100, 50}, FitCase{600, 300, 150, 150, false, 0, 37, 150, 75},
                      FitCase{100, 50, 150, 150, true, 0, 37, 150, 75},
                      // Taller than wide: height fills, width scales.
                      FitCase{300, 600, 150, 150, false, 37, 0, 75, 150},
                      // Equal ratios take the height branch.
                      FitCase{300, 300, 150, 150, false, 0, 0, 150, 150},
                      // 0.5 x 5 = 2.5 rounds to even 2; 0.5 x 7 = 3.5 rounds to 4.
                      FitCase{10, 5, 5, 10, false, 0, 4, 5, 2}, FitCase{10, 7, 5, 10, false, 0, 3, 5, 4},
                      // Bigger than the box in one direction only.
                      FitCase{200, 10, 100, 100, false, 0, 47, 100, 5}));

TEST(cDIB, BestFitWritesNothingWhenEmpty) {
  cDIB dib;
  int32_t left = 9, top = 9, width = 9, height = 9;
  dib.GetBestFitInfo(100, 100, left, top, width, height, true);
  EXPECT_EQ(left + top + width + height, 36);
}

void Fill(cDIB& dib) {
  for (int32_t y = 0; y < dib.Height(); ++y)
    for (int32_t x = 0; x < dib.Width(); ++x) dib.hDIb()->setPixelValue(x, y, static_cast<uint32_t>(1 + x + 16 * y));
}

TEST(cDIB, ResizeWithoutStretchCropsAndPadsWithZero) {
  cDIB dib;
  ASSERT_TRUE(dib.Create(10, 10, 8));
  std::vector<uint8_t> palette(1024);
  for (size_t i = 0; i < 256; ++i) palette[4 * i] = static_cast<uint8_t>(i);  // distinct entries
  dib.SetPalette(palette);
  Fill(dib);
  dib.Resize(20, 5);
  ASSERT_EQ(dib.Width(), 20);
  ASSERT_EQ(dib.Height(), 5);
  ASSERT_EQ(dib.BPP(), 8);
  for (int32_t y = 0; y < 5; ++y)
    for (int32_t x = 0; x < 20; ++x)
      EXPECT_EQ(dib.hDIb()->pixelValue(x, y), x < 10 ? static_cast<uint32_t>(1 + x + 16 * y) : 0u) << x << "," << y;
  std::vector<uint8_t> after;
  dib.GetPalette(after);
  EXPECT_EQ(after, palette);
}

TEST(cDIB, ResizeKeepsIndicesEvenWithDuplicateTableEntries) {
  cDIB dib;
  ASSERT_TRUE(dib.Create(4, 4, 8));  // every table entry is black
  Fill(dib);
  dib.Resize(4, 4);
  for (int32_t y = 0; y < 4; ++y)
    for (int32_t x = 0; x < 4; ++x) EXPECT_EQ(dib.hDIb()->pixelValue(x, y), static_cast<uint32_t>(1 + x + 16 * y));
}

TEST(cDIB, ResizeWithStretchScalesNearest) {
  cDIB dib;
  ASSERT_TRUE(dib.Create(2, 2, 24));
  dib.hDIb()->setPixelValue(0, 0, 0x0000FF);
  dib.hDIb()->setPixelValue(1, 0, 0x00FF00);
  dib.hDIb()->setPixelValue(0, 1, 0xFF0000);
  dib.hDIb()->setPixelValue(1, 1, 0xFFFFFF);
  const uint32_t corners[2][2] = {{0x0000FF, 0x00FF00}, {0xFF0000, 0xFFFFFF}};
  dib.Resize(4, 6, true);
  ASSERT_EQ(dib.Width(), 4);
  for (int32_t y = 0; y < 6; ++y)
    for (int32_t x = 0; x < 4; ++x) EXPECT_EQ(dib.hDIb()->pixelValue(x, y), corners[y / 3][x / 2]) << x << "," << y;
}

TEST(cDIB, LoadBltWithDefaultsCopiesWholeSurface) {
  cDIB src, dst;
  ASSERT_TRUE(src.Create(6, 4, 32));
  ASSERT_TRUE(dst.Create(6, 4, 32));
  Fill(src);
  EXPECT_NE(dst.LoadBlt(src.hDIBDC()), 0);
  EXPECT_EQ(0, std::memcmp(src.lpBits(), dst.lpBits(), static_cast<size_t>(src.Size())));
  cDIB empty;
  EXPECT_EQ(empty.LoadBlt(src.hDIBDC()), 0);
}

TEST(cDIB, LoadBltCopiesToTheSamePosition) {
  cDIB src, dst;
  ASSERT_TRUE(src.Create(6, 4, 8));
  ASSERT_TRUE(dst.Create(6, 4, 8));
  Fill(src);
  EXPECT_NE(dst.LoadBlt(src.hDIBDC(), 2, 1, 3, 2), 0);
  for (int32_t y = 0; y < 4; ++y)
    for (int32_t x = 0; x < 6; ++x) {
      const bool inside = x >= 2 && x < 5 && y >= 1 && y < 3;
      EXPECT_EQ(dst.hDIb()->pixelValue(x, y), inside ? src.hDIb()->pixelValue(x, y) : 0u);
    }
}

TEST(cDIB, StretchRestoresTheDestinationMode) {
  cDIB src, dst;
  ASSERT_TRUE(src.Create(4, 4, 24));
  ASSERT_TRUE(dst.Create(2, 2, 24));
  Fill(src);
  dst.hDIBDC()->SetStretchBltMode(raster::HALFTONE);
  EXPECT_NE(src.Stretch(dst.hDIBDC(), 0, 0, 2, 2), 0);
  EXPECT_EQ(dst.hDIBDC()->GetStretchBltMode(), raster::HALFTONE);
  // Colour-on-colour: one source pixel per destination pixel, nothing blended.
  EXPECT_EQ(dst.hDIb()->pixelValue(0, 0), src.hDIb()->pixelValue(1, 1));
  EXPECT_EQ(dst.hDIb()->pixelValue(1, 1), src.hDIb()->pixelValue(3, 3));
}

TEST(cDIB, StretchWithRasterOperation) {
  cDIB src, dst;
  ASSERT_TRUE(src.Create(1, 1, 24));
  ASSERT_TRUE(dst.Create(2, 1, 24));
  src.Cls(0x0F0F0F);
  dst.Cls(0x3C3C3C);
  EXPECT_NE(src.Stretch(dst.hDIBDC(), 0, 0, 2, 1, 0, 0, 0, 0, raster::SRCAND), 0);
  EXPECT_EQ(dst.hDIb()->pixelRGB(1, 0), 0x0C0C0Cu);
  EXPECT_NE(src.Stretch(dst.hDIBDC(), 0, 0, 2, 1, 0, 0, 0, 0, raster::SRCPAINT), 0);
  EXPECT_EQ(dst.hDIb()->pixelRGB(0, 0), 0x0F0F0Fu);
}

TEST(cDIB, ClsTranslatesSystemColours) {
  SystemColors::ResetToDefaults();
  SystemColors::Set(SystemColors::kButtonFace, 0x123456);
  cDIB dib;
  ASSERT_TRUE(dib.Create(3, 2, 32));
  dib.Cls(static_cast<int32_t>(0x80000000u + SystemColors::kButtonFace));
  for (int32_t y = 0; y < 2; ++y)
    for (int32_t x = 0; x < 3; ++x) EXPECT_EQ(dib.hDIb()->pixelRGB(x, y), 0x123456u);
  dib.Cls();
  EXPECT_EQ(dib.hDIb()->pixelRGB(2, 1), 0u);
  SystemColors::ResetToDefaults();
}

TEST(cDIB, ClsOnIndexedSurfacePicksNearestEntry) {
  cDIB dib;
  ASSERT_TRUE(dib.Create(3, 1, 4));
  std::vector<uint8_t> palette(64, 0);
  palette[4 * 5 + 2] = 250;  // entry 5: nearly pure red
  dib.SetPalette(palette);
  dib.Cls(0x0000FF);
  EXPECT_EQ(dib.hDIb()->pixelValue(2, 0), 5u);
}

TEST(cDIB, CloneIsExact) {
  cDIB src, clone;
  ASSERT_TRUE(src.Create(5, 3, 4));
  std::vector<uint8_t> palette(64);
  for (size_t i = 0; i < 64; ++i) palette[i] = static_cast<uint8_t>(i * 3);
  src.SetPalette(palette);
  Fill(src);
  src.CloneTo(clone);
  EXPECT_EQ(clone.Width(), 5);
  EXPECT_EQ(clone.BPP(), 4);
  std::vector<uint8_t> cloned;
  clone.GetPalette(cloned);
  EXPECT_EQ(cloned, palette);
  EXPECT_EQ(0, std::memcmp(src.lpBits(), clone.lpBits(), static_cast<size_t>(src.Size())));
  cDIB empty;
  empty.CloneTo(clone);
  EXPECT_EQ(clone.hDIb(), nullptr);
}

TEST(cDIB, CreateFromStdPictureKeepsDepthAndTable) {
  auto bitmap = Bitmap::Create(4, 2, 8, raster::RowOrder::BottomUp);
  bitmap->colorTable()[3] = RGBQuad{10, 20, 30, 0};
  bitmap->setPixelValue(1, 0, 3);
  const raster::StdPicture picture(bitmap);
  cDIB dib;
  EXPECT_EQ(dib.CreateFromStdPicture(picture), 8);
  EXPECT_EQ(dib.BPP(), 8);
  EXPECT_EQ(dib.hDIb()->pixelValue(1, 0), 3u);
  EXPECT_EQ(dib.lpBits()[1], 3);  // top-down now
  std::vector<uint8_t> palette;
  dib.GetPalette(palette);
  EXPECT_EQ(palette[12], 10);
  EXPECT_EQ(palette[14], 30);
}

TEST(cDIB, CreateFromStdPictureForced32ReturnsPictureDepth) {
  auto bitmap = Bitmap::Create(4, 2, 8);
  bitmap->colorTable()[3] = RGBQuad{10, 20, 30, 0};
  bitmap->setPixelValue(1, 1, 3);
  cDIB dib;
  EXPECT_EQ(dib.CreateFromStdPicture(raster::StdPicture(bitmap), true), 8);
  EXPECT_EQ(dib.BPP(), 32);
  EXPECT_TRUE(dib.hDIb()->colorTable().empty());
  EXPECT_EQ(dib.hDIb()->pixelRGB(1, 1), 0x0A141Eu);
}

TEST(cDIB, CreateFromStdPictureRefusesNonBitmaps) {
  cDIB dib;
  EXPECT_EQ(dib.CreateFromStdPicture(raster::StdPicture()), 0);
  EXPECT_EQ(dib.CreateFromStdPicture(raster::StdPicture::OfType(raster::PictureType::Icon)), 0);
  EXPECT_EQ(dib.hDIb(), nullptr);
}

TEST(cDIB, ImageIsAnIndependent32BitCopy) {
  cDIB dib;
  ASSERT_TRUE(dib.Create(3, 2, 8));
  std::vector<uint8_t> palette(1024);
  palette[4 * 9 + 1] = 200;
  dib.SetPalette(palette);
  dib.hDIb()->setPixelValue(2, 1, 9);
  const auto picture = dib.Image();
  ASSERT_EQ(picture.Type(), raster::PictureType::Bitmap);
  EXPECT_EQ(picture.Handle()->bpp(), 32);
  EXPECT_EQ(picture.Handle()->pixelRGB(2, 1), 0x00C800u);
  dib.Cls(0xFFFFFF);
  EXPECT_EQ(picture.Handle()->pixelRGB(2, 1), 0x00C800u);
  cDIB empty;
  EXPECT_TRUE(empty.Image().IsNull());
}

class cDIBFile : public ::testing::Test {
 protected:
  std::filesystem::path Path(const char* name) { return m_dir / name; }
  void SetUp() override {
    m_dir = std::filesystem::temp_directory_path() / ("cdib_test_" + std::to_string(::getpid()));
    std::filesystem::create_directories(m_dir);
  }
  void TearDown() override { std::filesystem::remove_all(m_dir); }
  std::filesystem::path m_dir;
};

TEST_F(cDIBFile, MissingFileRaisesFileNotFoundAndKeepsSurface) {
  cDIB dib;
  ASSERT_TRUE(dib.Create(3, 3, 24));
  try {
    dib.CreateFromBitmapFile(Path("nothing.bmp"));
    FAIL() << "no error";
  } catch (const LumoraError& e) {
    EXPECT_EQ(e.number(), 53);
    EXPECT_EQ(e.description(), "File not found");
  }
  EXPECT_EQ(dib.Width(), 3);
}

TEST_F(cDIBFile, EmptyFileReturnsZeroAndKeepsSurface) {
  std::ofstream(Path("empty.bmp")).close();
  cDIB dib;
  ASSERT_TRUE(dib.Create(3, 3, 24));
  EXPECT_EQ(dib.CreateFromBitmapFile(Path("empty.bmp")), 0);
  EXPECT_EQ(dib.Width(), 3);
}

TEST_F(cDIBFile, BadFileReturnsZeroAndEmpties) {
  std::ofstream(Path("bad.bmp")) << "this is not a bitmap at all";
  cDIB dib;
  ASSERT_TRUE(dib.Create(3, 3, 24));
  EXPECT_EQ(dib.CreateFromBitmapFile(Path("bad.bmp")), 0);
  EXPECT_EQ(dib.hDIb(), nullptr);
}

TEST_F(cDIBFile, LoadedSurfaceKeepsFileRowOrder) {
  auto bitmap = Bitmap::Create(3, 2, 24, raster::RowOrder::BottomUp);
  bitmap->setPixelValue(0, 0, 0xAABBCC);  // top row
  bitmap->setPixelValue(0, 1, 0x112233);  // bottom row
  ASSERT_TRUE(raster::WriteBmpFile(Path("two.bmp"), *bitmap));
  cDIB dib;
  EXPECT_EQ(dib.CreateFromBitmapFile(Path("two.bmp")), 24);
  EXPECT_EQ(dib.BytesPerScanLine(), 12);
  EXPECT_EQ(dib.Size(), 24);
  EXPECT_EQ(dib.lpBits()[0], 0x33);  // the bottom row comes first in memory
  EXPECT_EQ(dib.lpBits()[12], 0xCC);
  // A clone shows the same picture, stored top row first.
  cDIB clone;
  dib.CloneTo(clone);
  EXPECT_EQ(clone.lpBits()[0], 0xCC);
  EXPECT_EQ(clone.hDIb()->pixelValue(0, 1), 0x112233u);
  // The picture made from it is upright.
  EXPECT_EQ(dib.Image().Handle()->pixelRGB(0, 0), 0xCCBBAAu);
}

}  // namespace
}  // namespace lumora
