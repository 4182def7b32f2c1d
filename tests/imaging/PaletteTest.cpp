// The palettes: CreateOptimal's cells, averages, order and limits worked out by hand, the errors
// with their numbers, and the nearest-colour rule.
#include <gtest/gtest.h>

#include <functional>

#include "SurfaceBuilders.h"
#include "base/LumoraError.h"
#include "imaging/cPal8bpp.h"

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
  EXPECT_EQ(optimal(std::vector<Rgb>(90000, Rgb{200, 100, 7}), 300, 256, 8), (std::vector<Rgb>{{200, 100, 7}}));
  cPal8bpp p;
  p.CreateEGA();
  cDIB dib;
  dib.Create(4, 4, 24);
  p.CreateOptimal(dib, 256, 8, 1, 1, 1);
  EXPECT_EQ(p.Entries(), 16);
  testsurface::Fill32(dib, 1, 1, {{1, 2, 3}});
  for (uint8_t levels : {0, 9}) {
    try {
      p.CreateOptimal(dib, 256, levels, 1, 1, 1);
      ADD_FAILURE() << int(levels);
    } catch (const LumoraError& e) {
      EXPECT_EQ(e.number(), ErrorNumber::kInvalidCall);
    }
  }
}

// Palette errors carry their numbers; nearest-colour queries compare like channels and take the
// lowest index on ties, among counted entries only.
TEST(Pal8bpp, ErrorsAndNearestColours) {
  cPal8bpp p;
  const auto number = [](const std::function<void()>& f) {
    try {
      f();
    } catch (const LumoraError& e) {
      return e.number();
    }
    return 0;
  };
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

}  // namespace
}  // namespace lumora
