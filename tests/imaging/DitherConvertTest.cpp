// ConvertTo8bpp on cDIB surfaces: the palette from the 150-pixel thumbnail, the target's size,
// colour table and indices, the untouched source, the modes and odd sources.
#include <gtest/gtest.h>

#include "SurfaceBuilders.h"
#include "imaging/cDIB.h"
#include "imaging/cPal8bpp.h"
#include "imaging/mDither8bpp.h"
#include "imaging/raster/Blit.h"
#include "imaging/raster/BmpFile.h"

#include <filesystem>

namespace lumora {
namespace {

using testsurface::Rgb;

class DitherConvert : public ::testing::Test {
 protected:
  void SetUp() override {
    mDither8bpp::InitDitherTables();
    mDither8bpp::SetPaletteMode(1);
    mDither8bpp::SetDitherMode(2);
  }
  void TearDown() override {
    mDither8bpp::SetPaletteMode(1);
    mDither8bpp::SetDitherMode(2);
  }
};

Rgb entryColour(const cPal8bpp& p, int i) { return {p.rgbR(i), p.rgbG(i), p.rgbB(i)}; }

// Each pixel's index for its cell (r, g, b levels), without diffusion: the entry nearest its centre colour.
uint8_t cellIndex(const cPal8bpp& p, const Rgb& c) {
  auto level = [](int v) { return static_cast<int>(std::nearbyint(v / 17.0)); };
  return p.ClosestIndex(static_cast<uint8_t>(17 * level(c.r)), static_cast<uint8_t>(17 * level(c.g)),
                        static_cast<uint8_t>(17 * level(c.b)));
}

TEST_F(DitherConvert, OnePixelPicture) {
  cDIB source, target;
  testsurface::Fill32(source, 1, 1, {{12, 34, 56}});
  cPal8bpp palette;
  mDither8bpp::ConvertTo8bpp(source, target, palette);
  ASSERT_EQ(palette.Entries(), 1);
  EXPECT_EQ(entryColour(palette, 0), (Rgb{12, 34, 56}));
  EXPECT_EQ(target.BPP(), 8);
  EXPECT_EQ(target.Width(), 1);
  EXPECT_EQ(target.Height(), 1);
  EXPECT_EQ(testsurface::Indices(target), std::vector<uint8_t>{0});
}

TEST_F(DitherConvert, BlackAndWhiteNeedNoDiffusion) {
  std::vector<Rgb> pixels;
  for (int i = 0; i < 40 * 30; ++i) pixels.push_back((i * 13) % 7 < 3 ? Rgb{255, 255, 255} : Rgb{0, 0, 0});
  cDIB source, target;
  testsurface::Fill32(source, 40, 30, pixels);
  cPal8bpp palette;
  mDither8bpp::ConvertTo8bpp(source, target, palette);
  ASSERT_EQ(palette.Entries(), 2);
  const std::vector<uint8_t> indices = testsurface::Indices(target);
  for (size_t i = 0; i < pixels.size(); ++i) ASSERT_EQ(entryColour(palette, indices[i]), pixels[i]) << i;
  EXPECT_EQ(entryColour(palette, 0), pixels[0]);  // the top-left pixel's cell comes first
}

TEST_F(DitherConvert, SourceIsUnchangedAndTargetCarriesThePalette) {
  cDIB source, target;
  testsurface::Fill32(source, 123, 77, testsurface::PhotoLike(123, 77, 1));
  const std::vector<uint8_t> before(source.lpBits(), source.lpBits() + source.Size());
  cPal8bpp palette;
  mDither8bpp::ConvertTo8bpp(source, target, palette);
  EXPECT_EQ(std::vector<uint8_t>(source.lpBits(), source.lpBits() + source.Size()), before);
  ASSERT_EQ(target.BPP(), 8);
  EXPECT_EQ(target.Width(), 123);
  EXPECT_EQ(target.Height(), 77);
  std::vector<uint8_t> table;
  target.GetPalette(table);
  ASSERT_EQ(table.size(), 1024u);
  EXPECT_TRUE(std::equal(table.begin(), table.end(), palette.lpPalette().begin()));
  for (uint8_t i : testsurface::Indices(target)) ASSERT_LT(i, palette.Entries());
}

// The palette comes from the picture reduced colour-on-colour to fit 150 x 150, made the long way:
// the picture object, a 32-bit copy, the fit, and a stretching resize.
TEST_F(DitherConvert, PaletteComesFromTheThumbnail) {
  for (auto [w, h] : {std::pair{600, 300}, std::pair{97, 400}, std::pair{120, 80}}) {
    SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h));
    cDIB source, target;
    testsurface::Fill32(source, w, h, testsurface::RandomColours(static_cast<size_t>(w * h), static_cast<uint32_t>(w)));
    cDIB thumbnail;
    thumbnail.CreateFromStdPicture(source.Image(), true);
    int32_t left = 0, top = 0, tw = 0, th = 0;
    thumbnail.GetBestFitInfo(150, 150, left, top, tw, th, false);
    thumbnail.Resize(tw, th, true);
    EXPECT_LE(std::max(thumbnail.Width(), thumbnail.Height()), 150);
    cPal8bpp expected, palette;
    expected.CreateOptimal(thumbnail, 256, 8, 1, 1, 1);
    mDither8bpp::ConvertTo8bpp(source, target, palette);
    ASSERT_EQ(palette.Entries(), expected.Entries());
    EXPECT_TRUE(std::equal(palette.lpPalette().begin(), palette.lpPalette().end(), expected.lpPalette().begin()));
  }
}

// A thin strip would round the thumbnail's short side to nothing; it keeps one pixel instead,
// so the palette comes from the strip's colours.
TEST_F(DitherConvert, StripsFarWiderThanHighOrHigherThanWide) {
  for (auto [w, h] : {std::pair{1920, 6}, std::pair{6, 1920}, std::pair{32768, 1}}) {
    SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h));
    // Red on the first half of the long side, blue on the second.
    std::vector<Rgb> pixels(static_cast<size_t>(w) * h);
    for (int32_t y = 0; y < h; ++y)
      for (int32_t x = 0; x < w; ++x)
        pixels[static_cast<size_t>(y) * w + x] = (w > h ? 2 * x < w : 2 * y < h) ? Rgb{200, 30, 30} : Rgb{20, 20, 240};
    cDIB source, target;
    testsurface::Fill32(source, w, h, pixels);
    cPal8bpp palette;
    mDither8bpp::ConvertTo8bpp(source, target, palette);
    ASSERT_EQ(palette.Entries(), 2);
    ASSERT_EQ(target.Width(), w);
    ASSERT_EQ(target.Height(), h);
    const std::vector<uint8_t> indices = testsurface::Indices(target);
    for (size_t i = 0; i < pixels.size(); ++i) ASSERT_EQ(entryColour(palette, indices[i]), pixels[i]) << i;
  }
}

TEST_F(DitherConvert, WithoutDiffusionEveryPixelTakesItsCellsEntry) {
  mDither8bpp::SetDitherMode(0);
  const auto pixels = testsurface::PhotoLike(64, 48, 2);
  cDIB source, target;
  testsurface::Fill32(source, 64, 48, pixels);
  cPal8bpp palette;
  mDither8bpp::ConvertTo8bpp(source, target, palette);
  const auto indices = testsurface::Indices(target);
  for (size_t i = 0; i < pixels.size(); ++i) ASSERT_EQ(indices[i], cellIndex(palette, pixels[i])) << i;
}

// Diffusion keeps local averages: over 8 x 8 blocks of a many-coloured gradient the average
// colour error is much smaller than with every pixel mapped to its cell's entry.
TEST_F(DitherConvert, DiffusionKeepsLocalAverages) {
  const int32_t w = 256, h = 64;
  std::vector<Rgb> pixels;
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x)
      pixels.push_back({static_cast<uint8_t>(x), static_cast<uint8_t>(4 * y), static_cast<uint8_t>((x + 3 * y) / 2)});
  auto blockError = [&](int32_t mode) {
    mDither8bpp::SetDitherMode(mode);
    cDIB source, target;
    testsurface::Fill32(source, w, h, pixels);
    cPal8bpp palette;
    mDither8bpp::ConvertTo8bpp(source, target, palette);
    const auto indices = testsurface::Indices(target);
    double total = 0;
    for (int32_t by = 0; by < h; by += 8)
      for (int32_t bx = 0; bx < w; bx += 8) {
        double d[3] = {0, 0, 0};
        for (int32_t y = by; y < by + 8; ++y)
          for (int32_t x = bx; x < bx + 8; ++x) {
            const size_t i = static_cast<size_t>(y * w + x);
            d[0] += palette.rgbR(indices[i]) - pixels[i].r;
            d[1] += palette.rgbG(indices[i]) - pixels[i].g;
            d[2] += palette.rgbB(indices[i]) - pixels[i].b;
          }
        total += (std::abs(d[0]) + std::abs(d[1]) + std::abs(d[2])) / 64.0;
      }
    return total / ((w / 8) * (h / 8));
  };
  const double plain = blockError(0);
  const double diffused = blockError(2);
  EXPECT_GT(plain, 3.0);
  EXPECT_LT(diffused, plain / 3);
}

TEST_F(DitherConvert, HalftoneModeUsesTheCube) {
  mDither8bpp::SetPaletteMode(0);
  cDIB source, target;
  testsurface::Fill32(source, 10, 10, testsurface::RandomColours(100, 3));
  cPal8bpp palette;
  mDither8bpp::ConvertTo8bpp(source, target, palette);
  EXPECT_EQ(palette.Entries(), 216);
  EXPECT_EQ(mDither8bpp::PaletteMode(), 0);
}

TEST_F(DitherConvert, OtherDepthsAreConvertedFirst) {
  const auto pixels = testsurface::PhotoLike(33, 21, 4);
  cDIB source32, source24, target32, target24;
  testsurface::Fill32(source32, 33, 21, pixels);
  source24.Create(33, 21, 24);
  raster::BitBlt(source24.hDIBDC(), 0, 0, 33, 21, source32.hDIBDC(), 0, 0, raster::SRCCOPY);
  cPal8bpp palette32, palette24;
  mDither8bpp::ConvertTo8bpp(source32, target32, palette32);
  mDither8bpp::ConvertTo8bpp(source24, target24, palette24);
  EXPECT_EQ(testsurface::Indices(target24), testsurface::Indices(target32));
  EXPECT_EQ(palette24.Entries(), palette32.Entries());
}

// A surface loaded from a bitmap file keeps the bottom row first in memory; the conversion still
// reads it top row first, so the picture stays upright and entry 0 is the top-left pixel's cell.
TEST_F(DitherConvert, BottomUpSourceStaysUpright) {
  const Rgb k{0, 0, 0}, w{255, 255, 255}, r{255, 0, 0};
  const std::vector<Rgb> pixels = {r, w, k, w, k, w, k, k, w};
  auto bitmap = raster::Bitmap::Create(3, 3, 32, raster::RowOrder::BottomUp);
  for (int32_t y = 0; y < 3; ++y)
    for (int32_t x = 0; x < 3; ++x) {
      const Rgb& c = pixels[static_cast<size_t>(y * 3 + x)];
      bitmap->setPixelValue(x, y, c.b | (c.g << 8) | (c.r << 16));
    }
  const auto file = std::filesystem::temp_directory_path() / "lumora-dither-bottom-up.bmp";
  ASSERT_TRUE(raster::WriteBmpFile(file, *bitmap));
  cDIB source, target;
  ASSERT_EQ(source.CreateFromBitmapFile(file), 32);
  std::filesystem::remove(file);
  ASSERT_EQ(source.hDIb()->rowOrder(), raster::RowOrder::BottomUp);
  cPal8bpp palette;
  mDither8bpp::ConvertTo8bpp(source, target, palette);
  EXPECT_EQ(entryColour(palette, 0), r);
  const auto indices = testsurface::Indices(target);
  for (size_t i = 0; i < pixels.size(); ++i) EXPECT_EQ(entryColour(palette, indices[i]), pixels[i]) << i;
}

TEST_F(DitherConvert, EmptySourceGivesEmptyTargetAndPalette) {
  cDIB source, target;
  target.Create(5, 5, 8);
  cPal8bpp palette;
  palette.CreateEGA();
  mDither8bpp::ConvertTo8bpp(source, target, palette);
  EXPECT_EQ(target.hDIb(), nullptr);
  EXPECT_EQ(palette.Entries(), 0);
}

// The second conversion does not depend on the first (module state is rebuilt).
TEST_F(DitherConvert, RepeatedConversionsAreIndependent) {
  cDIB a, b, target;
  testsurface::Fill32(a, 50, 40, testsurface::PhotoLike(50, 40, 5));
  testsurface::Fill32(b, 30, 20, testsurface::RandomColours(600, 6));
  cPal8bpp palette;
  mDither8bpp::ConvertTo8bpp(b, target, palette);
  const auto first = testsurface::Indices(target);
  mDither8bpp::ConvertTo8bpp(a, target, palette);
  mDither8bpp::ConvertTo8bpp(b, target, palette);
  EXPECT_EQ(testsurface::Indices(target), first);
}

}  // namespace
}  // namespace lumora
