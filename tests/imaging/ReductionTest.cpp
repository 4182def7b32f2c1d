// The reduction to 8 bits: CreateOptimal's cells, averages, order and limits worked out by hand;
// the palette's errors and nearest-colour rule; thin strips, diffusion keeping local averages,
// the diffusion stage against a plain in-place diffusion; large pictures counted and diffused in
// halves.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <functional>
#include <map>
#include <random>
#include <set>

#include "../support/RaisedError.h"
#include "SurfaceBuilders.h"
#include "imaging/ColourHistogram.h"
#include "imaging/cDIB.h"
#include "imaging/cPal8bpp.h"
#include "imaging/mDither8bpp.h"

namespace lumora {
namespace {

using testsurface::Rgb;

std::vector<Rgb> optimal(const std::vector<Rgb>& pixels, int32_t width, int32_t nColors, uint8_t levels,
                         std::array<float, 3> weights = {1, 1, 1}) {
  cDIB dib;
  testsurface::Fill32(dib, width, static_cast<int32_t>(pixels.size()) / width, pixels);
  cPal8bpp p;
  p.CreateOptimal(dib, nColors, levels, weights[0], weights[1], weights[2]);
  EXPECT_NE(p.hPal(), nullptr);
  std::vector<Rgb> v;
  for (int i = 0; i < p.Entries(); ++i) v.push_back({p.rgbR(i), p.rgbG(i), p.rgbB(i)});
  return v;
}

TEST(Pal8bppOptimal, CellsAveragesAndOrder) {
  const Rgb k{0, 0, 0}, w{255, 255, 255}, r{255, 0, 0};
  struct Case { const char* name; std::vector<Rgb> pixels; uint8_t levels; std::array<float, 3> weights; std::vector<Rgb> entries; };
  const std::vector<Case> cases = {
      {"entries in the order of first pixels", {r, k, w, r, w, k}, 8, {1, 1, 1}, {r, k, w}},
      {"first pixel first", {w, k, r, r}, 8, {1, 1, 1}, {w, k, r}},
      {"root midpoint 128: 128 goes low", {{129, 129, 129}, {128, 128, 128}}, 1, {1, 1, 1}, {{129, 129, 129}, {128, 128, 128}}},
      {"191.5 rounds to 192: one cell", {{191, 0, 0}, {192, 0, 0}}, 2, {1, 1, 1}, {{192, 0, 0}}},
      {"193 is above it", {{192, 0, 0}, {193, 0, 0}}, 2, {1, 1, 1}, {{192, 0, 0}, {193, 0, 0}}},
      {"64 is the middle below", {{64, 0, 0}, {65, 0, 0}}, 2, {1, 1, 1}, {{64, 0, 0}, {65, 0, 0}}},
      {"averages round halves to even", {{126, 1, 3}, {127, 2, 4}}, 1, {1, 1, 1}, {{126, 2, 4}}},
      {"127.5 rounds to 128", {{127, 0, 0}, {128, 0, 0}}, 1, {1, 1, 1}, {{128, 0, 0}}},
      {"weights choose the cell", {{100, 0, 0}, {50, 0, 0}}, 1, {2, 1, 1}, {{100, 0, 0}, {50, 0, 0}}},
      {"but not the average", {{100, 0, 0}, {50, 0, 0}}, 1, {1, 1, 1}, {{75, 0, 0}}},
      {"blue weight", {{0, 0, 100}, {0, 0, 50}}, 1, {1, 1, 2}, {{0, 0, 100}, {0, 0, 50}}},
  };
  for (const Case& c : cases) EXPECT_EQ(optimal(c.pixels, 2, 256, c.levels, c.weights), c.entries) << c.name;
}

// Colours in all eight of the root's cells cannot be folded below eight entries; never more than
// asked or 256; other depths leave the palette alone; levels outside 1 to 8 are refused.
TEST(Pal8bppOptimal, LimitsAndRefusals) {
  EXPECT_EQ(optimal(testsurface::RandomColours(3000, 5), 100, 2, 8).size(), 8u);
  for (int32_t n : {17, 100, 255}) EXPECT_LE(optimal(testsurface::RandomColours(3000, 6), 60, n, 8).size(), static_cast<size_t>(n));
  EXPECT_LE(optimal(testsurface::RandomColours(5000, 7), 100, 1000, 8).size(), 256u);
  const std::vector<Rgb> five = {{0, 0, 0}, {3, 0, 0}, {0, 3, 0}, {0, 0, 3}, {3, 3, 0}, {0, 0, 0}};  // neighbours: one cell above
  EXPECT_EQ(optimal(five, 2, 5, 8).size(), 5u) << "as many colours as asked: nothing is folded";
  EXPECT_EQ(optimal(std::vector<Rgb>(90000, Rgb{200, 100, 7}), 300, 256, 8), (std::vector<Rgb>{{200, 100, 7}}));
  cPal8bpp p;
  p.CreateEGA();
  cDIB dib;
  dib.Create(4, 4, 24);
  p.CreateOptimal(dib, 256, 8, 1, 1, 1);
  EXPECT_EQ(p.Entries(), 16);
  testsurface::Fill32(dib, 1, 1, {{1, 2, 3}});
  for (uint8_t levels : {0, 9})
    EXPECT_EQ(test::RaisedBy([&] { p.CreateOptimal(dib, 256, levels, 1, 1, 1); }).number, ErrorNumber::kInvalidCall)
        << int(levels);
}

// Palette errors carry their numbers; nearest-colour queries compare like channels and take the
// lowest index on ties, among counted entries only.
TEST(Pal8bpp, ErrorsAndNearestColours) {
  cPal8bpp p;
  const auto number = [](const std::function<void()>& f) { return test::RaisedBy(f).number; };
  EXPECT_EQ(number([&] { (void)p.rgbR(0); }), ErrorNumber::kSubscript) << "empty";
  p.Initialize(3);
  EXPECT_EQ(number([&] { (void)p.rgbG(256); }), ErrorNumber::kSubscript);
  EXPECT_EQ(number([&] { p.rgbB(-1, 3); }), ErrorNumber::kSubscript);
  EXPECT_EQ(number([&] { p.Entries(257); }), ErrorNumber::kInvalidCall);
  EXPECT_EQ(number([&] { p.Initialize(300); }), ErrorNumber::kInvalidCall);
  EXPECT_EQ(number([&] { p.CreateHalftone(5); }), ErrorNumber::kInvalidCall);
  EXPECT_EQ(number([&] { (void)p.ClosestIndex(1, 2, 3); }), ErrorNumber::kInvalidCall) << "no logical palette yet";
  EXPECT_EQ(number([&] { p.CreateGreyScale(3); }), ErrorNumber::kDivisionByZero);
  EXPECT_EQ(p.Entries(), 0);
  p.Initialize(4);
  p.rgbR(0, 250), p.rgbB(1, 250), p.rgbR(2, 20), p.rgbR(3, 30), p.rgbR(4, 25);  // entry 4 is not counted
  p.BuildLogicalPalette();
  EXPECT_EQ(p.ClosestIndex(240, 0, 10), 0);
  EXPECT_EQ(p.ClosestIndex(10, 0, 240), 1);
  EXPECT_EQ(p.ClosestIndex(25, 0, 0), 2) << "20 and 30 are both 5 away";
  uint8_t r = 0, g = 0, b = 0;
  p.ClosestColor(10, 0, 240, r, g, b);
  EXPECT_EQ(std::make_tuple(r, g, b), std::make_tuple(0, 0, 250));
}

using mDither8bpp::Tables;

Rgb entryColour(const cPal8bpp& p, int i) { return {p.rgbR(i), p.rgbG(i), p.rgbB(i)}; }

// The stock palettes: their sizes, where their colours sit, and whether they are grey.
TEST(Pal8bpp, StockPalettes) {
  const struct {
    const char* name;
    std::function<void(cPal8bpp&)> make;
    int16_t entries;
    std::vector<std::pair<int, Rgb>> at;  // entry, colour
    bool grey;
  } cases[] = {
      {"2 greys", [](cPal8bpp& p) { p.CreateGreyScale(0); }, 2, {{1, {255, 255, 255}}}, true},
      {"16 greys", [](cPal8bpp& p) { p.CreateGreyScale(1); }, 16, {{1, {17, 17, 17}}, {15, {255, 255, 255}}}, true},
      {"256 greys", [](cPal8bpp& p) { p.CreateGreyScale(2); }, 256, {{200, {200, 200, 200}}}, true},
      {"EGA", [](cPal8bpp& p) { p.CreateEGA(); }, 16, {{0, {0, 0, 0}}, {15, {255, 255, 255}}}, false},
      {"halftone 8", [](cPal8bpp& p) { p.CreateHalftone(0); }, 8, {{1, {255, 0, 0}}, {6, {0, 255, 255}}}, false},
      {"halftone 125", [](cPal8bpp& p) { p.CreateHalftone(3); }, 125, {{1, {64, 0, 0}}, {124, {255, 255, 255}}}, false},
      {"websafe", [](cPal8bpp& p) { p.CreateWebsafe(); }, 256,
       {{8, {51, 0, 0}}, {216, {0, 0, 0}}, {217, {8, 8, 8}}, {247, {248, 248, 248}}}, false},
  };
  for (const auto& c : cases) {
    cPal8bpp p;
    c.make(p);
    EXPECT_EQ(p.Entries(), c.entries) << c.name;
    for (const auto& [entry, colour] : c.at) EXPECT_EQ(entryColour(p, entry), colour) << c.name << " " << entry;
    EXPECT_EQ(p.IsGreyScale(), c.grey) << c.name;
    std::vector<uint8_t> bytes;
    p.GetPalette(bytes);
    EXPECT_EQ(bytes.size(), 4u * static_cast<size_t>(c.entries)) << c.name;
  }
  cPal8bpp websafe;  // each of the cube's 216 colours and EGA's 8 dark ones once, besides the greys
  websafe.CreateWebsafe();
  std::set<int> cube;
  for (int i = 0; i < 216; ++i) cube.insert(websafe.rgbR(i) << 16 | websafe.rgbG(i) << 8 | websafe.rgbB(i));
  for (int i = 248; i < 256; ++i) cube.insert(websafe.rgbR(i) << 16 | websafe.rgbG(i) << 8 | websafe.rgbB(i));
  EXPECT_EQ(cube.size(), 224u);
}

// A thin strip would round the thumbnail's short side to nothing; it keeps one pixel instead,
// so the palette comes from the strip's colours.
TEST(DitherConvert, StripsFarWiderThanHighOrHigherThanWide) {
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
    ASSERT_EQ(std::make_tuple(palette.Entries(), target.Width(), target.Height()), std::make_tuple(2, w, h));
    const std::vector<uint8_t> indices = testsurface::Indices(target);
    for (size_t i = 0; i < pixels.size(); ++i) ASSERT_EQ(entryColour(palette, indices[i]), pixels[i]) << i;
  }
}

// Diffusion keeps local averages: over 8 x 8 blocks of a many-coloured gradient the average
// colour error is much smaller than with every pixel mapped to its cell's entry.
TEST(DitherConvert, DiffusionKeepsLocalAverages) {
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
            d[0] += palette.rgbR(indices[i]) - pixels[i].r, d[1] += palette.rgbG(indices[i]) - pixels[i].g;
            d[2] += palette.rgbB(indices[i]) - pixels[i].b;
          }
        total += (std::abs(d[0]) + std::abs(d[1]) + std::abs(d[2])) / 64.0;
      }
    return total / ((w / 8) * (h / 8));
  };
  const double plain = blockError(0), diffused = blockError(mDither8bpp::kDitherDiffusion);
  mDither8bpp::SetDitherMode(mDither8bpp::kDitherDiffusion);
  EXPECT_GT(plain, 3.0);
  EXPECT_LT(diffused, plain / 3);
}

// The diffusion step by step: in place on a copy of the pixels, through the published tables.
std::vector<uint8_t> referenceDiffusion(std::vector<uint8_t> bgrx, int32_t width, int32_t height,
                                        const std::array<uint8_t, 4096>& inverse, const std::array<uint8_t, 1024>& palette) {
  const auto& t = Tables();
  auto level = [&](int v) { return t.level[static_cast<size_t>(v + 8)]; };
  std::vector<uint8_t> indices(static_cast<size_t>(width) * height);
  auto add = [&](int32_t x, int32_t y, int channel, int32_t share) {
    uint8_t& v = bgrx[(static_cast<size_t>(y) * width + x) * 4 + static_cast<size_t>(channel)];
    v = static_cast<uint8_t>(std::clamp(v + share, 0, 255));
  };
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x) {
      uint8_t* p = &bgrx[(static_cast<size_t>(y) * width + x) * 4];
      const int R = p[2], G = p[1], B = p[0];
      const uint8_t index = inverse[static_cast<size_t>(level(R) + 16 * level(G) + 256 * level(B))];
      indices[static_cast<size_t>(y) * width + x] = index;
      const int e[3] = {B - palette[4 * index], G - palette[4 * index + 1], R - palette[4 * index + 2]};
      if (std::abs(e[0]) + std::abs(e[1]) + std::abs(e[2]) <= 3) continue;
      std::memcpy(p, &palette[4 * index], 4);
      for (int c = 0; c < 3; ++c) {
        const auto i = static_cast<size_t>(e[c] + 255);
        if (x < width - 1) add(x + 1, y, c, t.sevenSixteenths[i]);
        if (y < height - 1) {
          add(x, y + 1, c, t.fiveSixteenths[i]);
          if (x < width - 1) add(x + 1, y + 1, c, t.sixteenth[i]);
          if (x > 0) add(x - 1, y + 1, c, t.threeSixteenths[i]);
        }
      }
    }
  return indices;
}

// Random palettes, random inverse tables and random or saturated pictures of many shapes: the
// indices equal those of the plain in-place diffusion.
TEST(DitherDiffusion, AgreesWithInPlaceDiffusion) {
  // A total error of 4 is spread and one of 3 is not: the pixel beside tips into the next level.
  for (const uint8_t red : {4, 3}) {
    std::array<uint8_t, 4096> inverse{};
    inverse[1] = 1;  // red level 1
    const std::array<uint8_t, 1024> palette{};
    std::vector<uint8_t> bgrx = {0, 0, red, 0, 0, 0, 8, 0}, indices(2);
    mDither8bpp::Diffuse({bgrx.data(), 8, indices.data(), 2, 2, 1}, inverse, palette, true);
    EXPECT_EQ(indices, (std::vector<uint8_t>{0, uint8_t(red == 4 ? 1 : 0)})) << int(red);
  }
  std::mt19937 random(21);
  for (const auto& [width, height] : {std::pair{1, 1}, {1, 9}, {9, 1}, {2, 2}, {17, 13}, {64, 48}, {301, 7}}) {
    for (int round = 0; round < 4; ++round) {
      SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height) + " round " + std::to_string(round));
      std::array<uint8_t, 4096> inverse{};
      std::array<uint8_t, 1024> palette{};
      const int entries = 1 + static_cast<int>(random() % 256);
      for (auto& cell : inverse) cell = static_cast<uint8_t>(random() % static_cast<uint32_t>(entries));
      for (auto& byte : palette) byte = static_cast<uint8_t>(random());
      std::vector<uint8_t> bgrx(static_cast<size_t>(width) * height * 4);
      for (auto& byte : bgrx) {
        const uint32_t r = random();
        // Round 1 pushes values to the ends, where the clamping works.
        byte = static_cast<uint8_t>(round == 1 ? (r % 2 ? 255 - r % 6 : r % 6) : r);
      }
      const auto expected = referenceDiffusion(bgrx, width, height, inverse, palette);
      std::vector<uint8_t> indices(expected.size());
      mDither8bpp::Diffuse({bgrx.data(), width * 4, indices.data(), width, width, height}, inverse, palette, true);
      ASSERT_EQ(indices, expected);
    }
  }
}

// A picture large enough to be counted and diffused in two halves at once.
constexpr int32_t kHalvedSide = 1600;

// Past the histogram's cell budget, one bit a channel goes: each cell keeps its pixel count and
// exact mean, whichever half holds the many colours and whichever half coarsens first.
TEST(ColourHistogram, CellsOfBothHalvesAtTheCoarserLevel) {
  const uint32_t twoColours[] = {0x21C807, 0x20C906};  // one cell once the low bit goes
  for (const bool manyOnTop : {true, false}) {
    const auto bitmap = raster::Bitmap::Create(kHalvedSide, kHalvedSide, 32, raster::RowOrder::TopDown);
    std::map<uint32_t, std::array<uint64_t, 4>> expected;  // per cell: pixels, blue, green, red sums
    for (int32_t y = 0; y < kHalvedSide; ++y)
      for (int32_t x = 0; x < kHalvedSide; ++x) {
        const bool many = (y < kHalvedSide / 2) == manyOnTop;
        const auto c = static_cast<uint32_t>(x + y * kHalvedSide);
        const uint32_t bgr = many ? (c % 40960 & 0xFF) << 16 | (c % 40960 >> 8) << 8 : twoColours[x % 2];
        std::memcpy(bitmap->row(y) + 4 * x, &bgr, 4);
        auto& cell = expected[bgr & 0xFEFEFE];
        cell[0] += 1;
        for (int k = 0; k < 3; ++k) cell[k + 1] += bgr >> (8 * k) & 0xFF;
      }
    const auto colours = BuildColourHistogram(*bitmap);
    ASSERT_EQ(colours.size(), expected.size()) << manyOnTop;
    for (const HistogramColour& c : colours) {
      const uint32_t key = (static_cast<uint32_t>(c.red) & 0xFE) << 16 | (static_cast<uint32_t>(c.green) & 0xFE) << 8 |
                           (static_cast<uint32_t>(c.blue) & 0xFE);
      const auto& cell = expected.at(key);
      const auto n = static_cast<double>(cell[0]);
      ASSERT_EQ(std::make_tuple(c.pixels, c.blue, c.green, c.red),
                std::make_tuple(cell[0], cell[1] / n, cell[2] / n, cell[3] / n)) << manyOnTop << " " << key;
    }
  }
}

// The lower half starts afresh: the picture's indices are those of its halves diffused alone,
// and the writer hears of rows in order, up to the last.
TEST(DitherDiffusion, LargePictureIsItsTwoHalves) {
  struct Rows final : mDither8bpp::ConversionObserver {
    std::vector<int32_t> finished;
    void Started() override {}
    void RowsFinished(int32_t rows) override { finished.push_back(rows); }
  };
  const int32_t w = kHalvedSide, h = kHalvedSide, half = h / 2;
  std::mt19937 random(5);
  std::vector<uint8_t> bgrx(static_cast<size_t>(w) * h * 4);
  for (size_t i = 0; i < bgrx.size(); ++i) bgrx[i] = static_cast<uint8_t>(i / 4 % 997 + random() % 7);
  std::vector<raster::RGBQuad> entries(64);
  for (auto& e : entries) e = {static_cast<uint8_t>(random()), static_cast<uint8_t>(random()), static_cast<uint8_t>(random()), 0};
  std::vector<uint8_t> whole(static_cast<size_t>(w) * h), halves(whole.size());
  Rows rows;
  mDither8bpp::DiffuseExact({bgrx.data(), w * 4, whole.data(), w, w, h}, entries, &rows);
  mDither8bpp::DiffuseExact({bgrx.data(), w * 4, halves.data(), w, w, half}, entries);
  mDither8bpp::DiffuseExact({bgrx.data() + static_cast<size_t>(half) * w * 4, w * 4, halves.data() + static_cast<size_t>(half) * w, w, w, h - half}, entries);
  EXPECT_TRUE(whole == halves);
  ASSERT_FALSE(rows.finished.empty());
  EXPECT_TRUE(std::ranges::is_sorted(rows.finished));
  EXPECT_EQ(rows.finished.back(), h);
}

}  // namespace
}  // namespace lumora
