// The best palette through the whole GIF route, read back by giflib: thin strokes on a gradient
// keep their exact colours and come out far closer than with the classic palette; edge pictures
// give valid files, exact when they have 256 colours or fewer, with entry 0 the corner's.
#include <gtest/gtest.h>

#include <cmath>

#include "GifTestSupport.h"
#include "SurfaceBuilders.h"
#include "imaging/GifRoute.h"
#include "imaging/cPal8bpp.h"
#include "imaging/mDither8bpp.h"
#include "imaging/mGIFSave.h"

namespace lumora {
namespace {

using testsurface::Rgb;

giftest::GiflibImage Reduce(const std::vector<Rgb>& pixels, int32_t width, int32_t mode, int16_t transparent = -1) {
  mGIFSave::InitGIFMasks();
  cDIB source, target;
  cPal8bpp palette;
  testsurface::Fill32(source, width, static_cast<int32_t>(pixels.size()) / width, pixels);
  mDither8bpp::SetPaletteMode(mode);
  std::vector<uint8_t> file;
  EXPECT_TRUE(EncodeReducedGIF(source, target, palette, transparent, false, "", file));
  mDither8bpp::SetPaletteMode(mDither8bpp::kPaletteOptimal);
  return giftest::DecodeWithGiflib(file);
}

Rgb At(const giftest::GiflibImage& gif, size_t i) {
  const auto& c = gif.colours.at(gif.pixels.at(i));
  return {c[0], c[1], c[2]};
}

double Psnr(const std::vector<Rgb>& pixels, const giftest::GiflibImage& gif) {
  double sum = 0;
  for (size_t i = 0; i < pixels.size(); ++i) {
    const Rgb c = At(gif, i);
    sum += std::pow(c.r - pixels[i].r, 2) + std::pow(c.g - pixels[i].g, 2) + std::pow(c.b - pixels[i].b, 2);
  }
  return 10 * std::log10(255.0 * 255 * 3 * static_cast<double>(pixels.size()) / sum);
}

// One-pixel strokes on odd rows and columns, which the classic palette's thumbnail never samples,
// on a grainy gradient of thousands of colours.
TEST(BestPalette, ThinTextKeepsItsColoursAndBeatsClassic) {
  constexpr int32_t w = 600, h = 200;
  const Rgb ink[] = {{230, 20, 40}, {250, 240, 60}, {20, 200, 90}};
  std::vector<Rgb> pixels;
  std::vector<size_t> strokes;
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) {
      const int stroke = y % 24 == 13 ? 0 : x % 40 == 21 ? 1 : y % 2 && (x + y) % 50 == 0 ? 2 : -1;
      if (stroke >= 0) strokes.push_back(pixels.size());
      const auto grain = static_cast<uint8_t>((x * 7 + y * 13) % 5);
      pixels.push_back(stroke >= 0 ? ink[stroke]
                                   : Rgb{static_cast<uint8_t>(x * 255 / w), static_cast<uint8_t>(80 + grain * y / 20),
                                         static_cast<uint8_t>(200 - x / 4 + grain)});
    }
  const auto best = Reduce(pixels, w, mDither8bpp::kPaletteBest), classic = Reduce(pixels, w, mDither8bpp::kPaletteOptimal);
  ASSERT_EQ(std::make_tuple(best.error, best.width, best.height), std::make_tuple(0, w, h));
  size_t exact = 0;
  for (size_t i : strokes) exact += At(best, i) == pixels[i];
  EXPECT_EQ(exact, strokes.size());
  EXPECT_GT(Psnr(pixels, best), Psnr(pixels, classic) + 20) << Psnr(pixels, best) << " " << Psnr(pixels, classic);
}

TEST(BestPalette, EdgePicturesGiveValidFiles) {
  const std::vector<Rgb> white(40 * 30, Rgb{255, 255, 255});
  std::vector<Rgb> all256, photo = testsurface::PhotoLike(64, 48, 9);
  for (int i = 0; i < 256; ++i) all256.push_back({static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i), static_cast<uint8_t>(i * 7)});
  photo[0] = {255, 255, 255};
  struct Case { const char* name; std::vector<Rgb> pixels; int32_t width; bool exact; };
  const Case cases[] = {{"1 x 1", {{9, 8, 7}}, 1, true},
                        {"one colour", white, 40, true},
                        {"exactly 256 colours", all256, 16, true},
                        {"more than 256 colours", testsurface::RandomColours(3000, 4), 60, false},
                        {"a photograph with a white corner", photo, 64, false}};
  for (const Case& c : cases) {
    const auto gif = Reduce(c.pixels, c.width, mDither8bpp::kPaletteBest, 0);
    ASSERT_EQ(std::make_pair(gif.error, gif.width * gif.height), std::make_pair(0, static_cast<int>(c.pixels.size()))) << c.name;
    EXPECT_EQ(gif.transparent, 0) << c.name;
    EXPECT_EQ(gif.pixels[0], 0) << c.name << ": entry 0 is the corner's";
    for (size_t i = 0; c.exact && i < c.pixels.size(); ++i) ASSERT_EQ(At(gif, i), c.pixels[i]) << c.name << " " << i;
  }
}

}  // namespace
}  // namespace lumora
