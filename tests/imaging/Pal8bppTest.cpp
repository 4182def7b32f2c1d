// cPal8bpp without pictures: entries, the exchange arrays, nearest-colour queries and the fixed
// palettes.
#include "imaging/cPal8bpp.h"

#include <gtest/gtest.h>

#include <set>
#include <tuple>

#include "base/LumoraError.h"

namespace lumora {
namespace {

using Rgb = std::tuple<int, int, int>;

Rgb entry(const cPal8bpp& p, int i) { return {p.rgbR(i), p.rgbG(i), p.rgbB(i)}; }

template <typename F>
int errorNumber(F&& f) {
  try {
    f();
  } catch (const LumoraError& e) {
    return e.number();
  }
  return 0;
}

TEST(Pal8bpp, FreshPaletteIsEmpty) {
  cPal8bpp p;
  EXPECT_EQ(p.Entries(), 0);
  EXPECT_TRUE(p.lpPalette().empty());
  EXPECT_EQ(p.hPal(), nullptr);
  EXPECT_FALSE(p.IsGreyScale());
  EXPECT_EQ(errorNumber([&] { (void)p.rgbR(0); }), ErrorNumber::kSubscript);
}

TEST(Pal8bpp, InitializeGivesZeroEntriesAndTheCount) {
  cPal8bpp p;
  p.Initialize(5);
  EXPECT_EQ(p.Entries(), 5);
  ASSERT_EQ(p.lpPalette().size(), 1024u);
  for (uint8_t b : p.lpPalette()) ASSERT_EQ(b, 0);
  EXPECT_EQ(p.hPal(), nullptr);
}

TEST(Pal8bpp, SetPaletteOfEightBytesGivesTwoEntriesAndNoLogicalPalette) {
  cPal8bpp p;
  const std::vector<uint8_t> bytes = {1, 2, 3, 0, 4, 5, 6, 0};
  p.SetPalette(bytes);
  EXPECT_EQ(p.Entries(), 2);
  EXPECT_EQ(p.hPal(), nullptr);
  EXPECT_EQ(entry(p, 0), Rgb(3, 2, 1));  // bytes are blue, green, red
  EXPECT_EQ(entry(p, 1), Rgb(6, 5, 4));
  std::vector<uint8_t> back = {9, 9, 9};
  p.GetPalette(back);
  EXPECT_EQ(back, bytes);
}

TEST(Pal8bpp, SetPaletteTakesWholeEntriesUpTo256) {
  cPal8bpp p;
  p.SetPalette(std::vector<uint8_t>(13, 7));
  EXPECT_EQ(p.Entries(), 3);
  EXPECT_EQ(p.rgbR(3), 0);  // the partial fourth entry is not copied
  p.SetPalette(std::vector<uint8_t>(2000, 7));
  EXPECT_EQ(p.Entries(), 256);
  EXPECT_EQ(p.rgbB(255), 7);
}

TEST(Pal8bpp, EntriesChangesOnlyTheCount) {
  cPal8bpp p;
  p.CreateEGA();
  p.Entries(4);
  EXPECT_EQ(p.Entries(), 4);
  EXPECT_EQ(entry(p, 15), Rgb(255, 255, 255));
  ASSERT_NE(p.hPal(), nullptr);
  EXPECT_EQ(p.hPal()->size(), 16u);  // not rebuilt
  EXPECT_EQ(errorNumber([&] { p.Entries(257); }), ErrorNumber::kInvalidCall);
  EXPECT_EQ(errorNumber([&] { p.Entries(-1); }), ErrorNumber::kInvalidCall);
  EXPECT_EQ(errorNumber([&] { p.Initialize(300); }), ErrorNumber::kInvalidCall);
}

TEST(Pal8bpp, EntryIndicesOutsideTheTableRaiseSubscript) {
  cPal8bpp p;
  p.Initialize(2);
  EXPECT_EQ(errorNumber([&] { (void)p.rgbG(256); }), ErrorNumber::kSubscript);
  EXPECT_EQ(errorNumber([&] { p.rgbB(-1, 3); }), ErrorNumber::kSubscript);
  p.rgbG(255, 9);  // beyond the count but inside the table
  EXPECT_EQ(p.rgbG(255), 9);
  p.Destroy();
  EXPECT_EQ(errorNumber([&] { (void)p.rgbR(0); }), ErrorNumber::kSubscript);
  EXPECT_EQ(p.Entries(), 0);
}

TEST(Pal8bpp, QueriesWithoutALogicalPaletteFail) {
  cPal8bpp p;
  p.SetPalette(std::vector<uint8_t>{0, 0, 0, 0, 255, 255, 255, 0});
  EXPECT_EQ(errorNumber([&] { (void)p.ClosestIndex(1, 2, 3); }), ErrorNumber::kInvalidCall);
  p.BuildLogicalPalette();
  EXPECT_EQ(p.ClosestIndex(200, 200, 200), 1);
}

// Red and blue must not trade places: a red query finds the red entry.
TEST(Pal8bpp, NearestComparesLikeChannels) {
  cPal8bpp p;
  p.Initialize(3);
  p.rgbR(0, 255);                 // red
  p.rgbB(1, 255);                 // blue
  p.rgbG(2, 255);                 // green
  p.BuildLogicalPalette();
  EXPECT_EQ(p.ClosestIndex(250, 0, 10), 0);
  EXPECT_EQ(p.ClosestIndex(10, 0, 250), 1);
  uint8_t r = 0, g = 0, b = 0;
  p.ClosestColor(10, 0, 240, r, g, b);
  EXPECT_EQ(Rgb(r, g, b), Rgb(0, 0, 255));
}

TEST(Pal8bpp, NearestTakesTheLowestIndexOnTiesAndOnlyCountedEntries) {
  cPal8bpp p;
  p.Initialize(3);
  p.rgbR(0, 10);
  p.rgbR(1, 30);
  p.rgbR(2, 20);
  p.rgbR(3, 20);  // beyond the count: never a candidate
  p.BuildLogicalPalette();
  EXPECT_EQ(p.ClosestIndex(20, 0, 0), 2);
  EXPECT_EQ(p.ClosestIndex(15, 0, 0), 0);  // 10 and 20 are both 5 away
  EXPECT_EQ(p.ClosestIndex(25, 0, 0), 1);  // 20 (entry 2) and 30 (entry 1): lowest index wins
  // Smallest squared distance: (12, 12, 12) is nearer to (20, 20, 20) than to (0, 0, 25).
  p.Initialize(2);
  p.rgbB(0, 25);
  p.rgbR(1, 20);
  p.rgbG(1, 20);
  p.rgbB(1, 20);
  p.BuildLogicalPalette();
  EXPECT_EQ(p.ClosestIndex(12, 12, 12), 1);
}

TEST(Pal8bpp, IsGreyScale) {
  cPal8bpp p;
  EXPECT_FALSE(p.IsGreyScale());
  p.CreateGreyScale(1);
  EXPECT_TRUE(p.IsGreyScale());
  p.rgbG(3, 1);
  EXPECT_FALSE(p.IsGreyScale());
  p.CreateEGA();
  EXPECT_FALSE(p.IsGreyScale());
  p.Entries(1);  // black alone
  EXPECT_TRUE(p.IsGreyScale());
}

struct GreyCase {
  int32_t levels;
  int count;
  int step;
};

TEST(Pal8bpp, CreateGreyScale) {
  for (const GreyCase& c : {GreyCase{0, 2, 255}, GreyCase{1, 16, 17}, GreyCase{2, 256, 1}}) {
    SCOPED_TRACE(c.levels);
    cPal8bpp p;
    p.CreateGreyScale(c.levels);
    ASSERT_EQ(p.Entries(), c.count);
    ASSERT_NE(p.hPal(), nullptr);
    for (int i = 0; i < c.count; ++i) ASSERT_EQ(entry(p, i), Rgb(i * c.step, i * c.step, i * c.step)) << i;
    EXPECT_EQ(p.ClosestIndex(c.step, c.step, c.step), 1);
  }
}

TEST(Pal8bpp, CreateGreyScaleWithAnotherCodeRaisesDivisionByZero) {
  cPal8bpp p;
  p.CreateEGA();
  EXPECT_EQ(errorNumber([&] { p.CreateGreyScale(3); }), ErrorNumber::kDivisionByZero);
  EXPECT_EQ(errorNumber([&] { p.CreateGreyScale(-1); }), ErrorNumber::kDivisionByZero);
  EXPECT_EQ(p.Entries(), 0);
}

TEST(Pal8bpp, CreateEGA) {
  const Rgb expected[16] = {{0, 0, 0},     {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
                            {0, 0, 128},   {128, 0, 128}, {0, 128, 128}, {192, 192, 192},
                            {128, 128, 128}, {255, 0, 0}, {0, 255, 0},   {255, 255, 0},
                            {0, 0, 255},   {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
  cPal8bpp p;
  p.CreateEGA();
  ASSERT_EQ(p.Entries(), 16);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(entry(p, i), expected[i]) << i;
  EXPECT_EQ(p.ClosestIndex(200, 10, 10), 9);
  EXPECT_EQ(p.ClosestIndex(100, 100, 100), 8);
}

struct HalftoneCase {
  int32_t code;
  std::vector<int> values;
};

TEST(Pal8bpp, CreateHalftone) {
  const std::vector<HalftoneCase> cases = {{0, {0, 255}},
                                           {1, {0, 128, 255}},
                                           {2, {0, 85, 170, 255}},
                                           {3, {0, 64, 128, 192, 255}},
                                           {4, {0, 51, 102, 153, 204, 255}}};
  for (const HalftoneCase& c : cases) {
    SCOPED_TRACE(c.code);
    cPal8bpp p;
    p.CreateHalftone(c.code);
    const int n = static_cast<int>(c.values.size());
    ASSERT_EQ(p.Entries(), n * n * n);
    for (int b = 0; b < n; ++b)
      for (int g = 0; g < n; ++g)
        for (int r = 0; r < n; ++r)
          ASSERT_EQ(entry(p, r + n * (g + n * b)), Rgb(c.values[r], c.values[g], c.values[b]));
    EXPECT_NE(p.hPal(), nullptr);
  }
  cPal8bpp p;
  p.CreateHalftone(2);
  EXPECT_EQ(entry(p, 1), Rgb(85, 0, 0));
  EXPECT_EQ(entry(p, 4), Rgb(0, 85, 0));
  EXPECT_EQ(errorNumber([&] { p.CreateHalftone(5); }), ErrorNumber::kInvalidCall);
  EXPECT_EQ(errorNumber([&] { p.CreateHalftone(-1); }), ErrorNumber::kInvalidCall);
}

TEST(Pal8bpp, CreateWebsafe) {
  cPal8bpp ega;
  ega.CreateEGA();
  cPal8bpp p;
  p.CreateWebsafe();
  ASSERT_EQ(p.Entries(), 256);
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(entry(p, i), entry(ega, i));
    EXPECT_EQ(entry(p, 248 + i), entry(ega, 8 + i));
  }
  EXPECT_EQ(entry(p, 8), Rgb(51, 0, 0));
  EXPECT_EQ(entry(p, 9), Rgb(102, 0, 0));
  EXPECT_EQ(entry(p, 12), Rgb(0, 51, 0));  // 255, 0, 0 skipped after 204, 0, 0
  EXPECT_EQ(entry(p, 215), Rgb(204, 255, 255));
  EXPECT_EQ(entry(p, 216), Rgb(0, 0, 0));
  EXPECT_EQ(entry(p, 217), Rgb(8, 8, 8));
  EXPECT_EQ(entry(p, 247), Rgb(248, 248, 248));
  // Entries 8..215 are the 208 cube colours that are not EGA colours, in blue-green-red order.
  std::set<Rgb> seen;
  for (int i = 8; i <= 215; ++i) {
    const auto [r, g, b] = entry(p, i);
    EXPECT_TRUE(r % 51 == 0 && g % 51 == 0 && b % 51 == 0) << i;
    for (int e = 0; e < 16; ++e) EXPECT_NE(entry(p, i), entry(ega, e)) << i;
    if (i > 8) {
      const auto [pr, pg, pb] = entry(p, i - 1);
      EXPECT_LT(pr + 6 * (pg + 6 * pb), r + 6 * (g + 6 * b)) << i;
    }
    seen.insert(entry(p, i));
  }
  EXPECT_EQ(seen.size(), 208u);
}

TEST(Pal8bpp, CreateMethodsStartAfresh) {
  cPal8bpp p;
  p.CreateWebsafe();
  p.CreateEGA();
  EXPECT_EQ(p.Entries(), 16);
  EXPECT_EQ(entry(p, 16), Rgb(0, 0, 0));
  EXPECT_EQ(p.hPal()->size(), 16u);
}

}  // namespace
}  // namespace lumora
