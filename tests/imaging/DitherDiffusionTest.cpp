// The error-diffusion stage on plain arrays: the level and fraction tables, the threshold, each
// neighbour's share, the edges and the clamping.
//
// The probes use a palette whose entry for red level 0 is red 8 and for level 1 red 9 (the cell
// boundary): a neighbour that ends at 8 or 9 has no error of its own, so its index tells exactly
// which side of the boundary the share took it to.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <random>
#include <vector>

#include "imaging/mDither8bpp.h"

namespace lumora {
namespace {

using mDither8bpp::Tables;

struct Pixel {
  uint8_t r = 0, g = 0, b = 0;
};

// The inverse table maps every cell to the index of its red level; entry i has red reds[i].
struct Probe {
  std::array<uint8_t, 4096> inverse{};
  std::array<uint8_t, 1024> palette{};

  explicit Probe(const std::vector<std::array<uint8_t, 3>>& entries) {
    for (int cell = 0; cell < 4096; ++cell) inverse[static_cast<size_t>(cell)] = static_cast<uint8_t>(cell % 16);
    for (size_t i = 0; i < entries.size(); ++i) {
      palette[4 * i + 2] = entries[i][0];
      palette[4 * i + 1] = entries[i][1];
      palette[4 * i + 0] = entries[i][2];
    }
  }

  std::vector<uint8_t> run(const std::vector<Pixel>& pixels, int32_t width, bool spread = true) const {
    const int32_t height = static_cast<int32_t>(pixels.size()) / width;
    std::vector<uint8_t> bgrx(pixels.size() * 4);
    for (size_t i = 0; i < pixels.size(); ++i) {
      bgrx[4 * i] = pixels[i].b;
      bgrx[4 * i + 1] = pixels[i].g;
      bgrx[4 * i + 2] = pixels[i].r;
      bgrx[4 * i + 3] = 0x5A;
    }
    const std::vector<uint8_t> before = bgrx;
    std::vector<uint8_t> indices(pixels.size(), 0xEE);
    mDither8bpp::Diffuse({bgrx.data(), width * 4, indices.data(), width, width, height}, inverse, palette, spread);
    EXPECT_EQ(bgrx, before) << "the pixels are only read";
    return indices;
  }
};

// Level 0 -> red 8, level 1 -> red 9, level 15 -> red 255.
Probe boundaryProbe() {
  std::vector<std::array<uint8_t, 3>> entries(16, {0, 0, 0});
  entries[0] = {8, 0, 0};
  entries[1] = {9, 0, 0};
  for (int i = 2; i < 16; ++i) entries[static_cast<size_t>(i)] = {static_cast<uint8_t>(17 * i), 0, 0};
  return Probe(entries);
}

TEST(DitherTables, LevelTable) {
  const auto& level = Tables().level;
  auto at = [&](int v) { return level[static_cast<size_t>(v + 8)]; };
  EXPECT_EQ(at(-8), 0);
  EXPECT_EQ(at(0), 0);
  EXPECT_EQ(at(8), 0);   // 0.47
  EXPECT_EQ(at(9), 1);   // 0.53
  EXPECT_EQ(at(25), 1);  // 1.47
  EXPECT_EQ(at(26), 2);
  EXPECT_EQ(at(136), 8);
  EXPECT_EQ(at(246), 14);  // 14.47
  EXPECT_EQ(at(247), 15);
  EXPECT_EQ(at(255), 15);
  EXPECT_EQ(at(262), 15);  // 15.41, within the clamp
  for (int v = -8; v <= 262; ++v) ASSERT_LE(at(v), 15) << v;
}

struct FractionCase {
  int error;
  int one, three, five, seven;  // round(e/16), round(3e/16), round(5e/16), round(7e/16), halves to even
};

TEST(DitherTables, FractionTablesRoundHalvesToEven) {
  const std::vector<FractionCase> cases = {
      {0, 0, 0, 0, 0},      {1, 0, 0, 0, 0},       {-1, 0, 0, 0, 0},      {2, 0, 0, 1, 1},
      {8, 0, 2, 2, 4},      {-8, 0, -2, -2, -4},   {24, 2, 4, 8, 10},     {-24, -2, -4, -8, -10},
      {40, 2, 8, 12, 18},   {255, 16, 48, 80, 112}, {-255, -16, -48, -80, -112}, {100, 6, 19, 31, 44}};
  const auto& t = Tables();
  for (const FractionCase& c : cases) {
    const auto i = static_cast<size_t>(c.error + 255);
    EXPECT_EQ(t.sixteenth[i], c.one) << c.error;
    EXPECT_EQ(t.threeSixteenths[i], c.three) << c.error;
    EXPECT_EQ(t.fiveSixteenths[i], c.five) << c.error;
    EXPECT_EQ(t.sevenSixteenths[i], c.seven) << c.error;
  }
}

TEST(DitherTables, InitIsRepeatable) {
  const auto copy = Tables().sevenSixteenths;
  mDither8bpp::InitDitherTables();
  EXPECT_EQ(Tables().sevenSixteenths, copy);
}

// The source pixel (red 17: level 1, entry red 9) has error +8; red 0 (level 0, entry red 8) has
// -8. Each neighbour starts at 8 - share (ends at 8: index 0) or 9 - share (ends at 9: index 1).
struct ShareCase {
  const char* name;
  int32_t width, height;
  int sourceAt;      // pixel index of the source
  int error;         // +8 or -8
  std::vector<std::pair<int, int>> shares;  // (pixel index, expected share)
};

TEST(DitherDiffusion, EachNeighbourGetsItsShare) {
  const std::vector<ShareCase> cases = {
      // 3 x 2, source in the middle of the top row: right 4, below 2, below-right 0, below-left 2.
      {"middle +8", 3, 2, 1, 8, {{2, 4}, {4, 2}, {5, 0}, {3, 2}}},
      {"middle -8", 3, 2, 1, -8, {{2, -4}, {4, -2}, {5, 0}, {3, -2}}},
      // The last column spreads only below and below-left.
      {"last column", 2, 2, 1, 8, {{3, 2}, {2, 2}}},
      // The first column has no below-left.
      {"first column", 2, 2, 0, 8, {{1, 4}, {2, 2}, {3, 0}}},
      // The last row spreads only to the right.
      {"last row", 3, 2, 4, 8, {{5, 4}}},
      // One row.
      {"single row", 3, 1, 0, -8, {{1, -4}}},
      // One column: only below.
      {"single column", 1, 3, 0, 8, {{1, 2}}},
  };
  const Probe probe = boundaryProbe();
  for (const ShareCase& c : cases) {
    for (int side = 0; side < 2; ++side) {
      SCOPED_TRACE(std::string(c.name) + (side ? " upper" : " lower"));
      std::vector<Pixel> pixels(static_cast<size_t>(c.width * c.height), Pixel{8, 0, 0});
      pixels[static_cast<size_t>(c.sourceAt)].r = c.error > 0 ? 17 : 0;
      for (const auto& [at, share] : c.shares) pixels[static_cast<size_t>(at)].r = static_cast<uint8_t>(8 + side - share);
      const std::vector<uint8_t> indices = probe.run(pixels, c.width);
      for (int i = 0; i < c.width * c.height; ++i) {
        if (i == c.sourceAt) {
          EXPECT_EQ(indices[static_cast<size_t>(i)], c.error > 0 ? 1 : 0);
          continue;
        }
        bool receiver = false;
        for (const auto& s : c.shares) receiver |= s.first == i;
        // Pixels that are no neighbour stay at 8 (index 0) whatever the side.
        EXPECT_EQ(indices[static_cast<size_t>(i)], receiver ? side : 0) << "pixel " << i;
      }
    }
  }
}

// Errors of 2 in two channels (total 4) spread; a total of 3 does not.
TEST(DitherDiffusion, TotalErrorOfThreeIsNotSpread) {
  const Probe probe = boundaryProbe();
  // (6, 2, 0) takes entry 0 (8, 0, 0): errors -2 and +2, so the right neighbour gets
  // round(-14 / 16) = -1 in red and goes from 9 (level 1) to 8 (level 0).
  EXPECT_EQ(probe.run({{6, 2, 0}, {9, 0, 0}}, 2), (std::vector<uint8_t>{0, 0}));
  // (6, 1, 0): errors -2 and +1, total 3: nothing moves.
  EXPECT_EQ(probe.run({{6, 1, 0}, {9, 0, 0}}, 2), (std::vector<uint8_t>{0, 1}));
  // Without diffusion every pixel takes its cell's entry.
  EXPECT_EQ(probe.run({{6, 2, 0}, {9, 0, 0}}, 2, false), (std::vector<uint8_t>{0, 1}));
}

TEST(DitherDiffusion, SumsAreClampedToAByte) {
  const Probe probe = boundaryProbe();
  // Red 255 is level 15 (entry 255: no error). 17 -> +8 -> right gets +4: 253 + 4 clamps to 255
  // (level 15), where a wrapped sum would be 1 (level 0).
  EXPECT_EQ(probe.run({{17, 0, 0}, {253, 0, 0}}, 2), (std::vector<uint8_t>{1, 15}));
  // Red 0 -> -8 -> right gets -4: 2 - 4 clamps to 0 (level 0), a wrapped sum would be 254.
  EXPECT_EQ(probe.run({{0, 0, 0}, {2, 0, 0}}, 2), (std::vector<uint8_t>{0, 0}));
}

// Shares accumulate: a pixel below two sources gets both, in scan order.
TEST(DitherDiffusion, SharesAccumulate) {
  const Probe probe = boundaryProbe();
  // (0,0) = 17 has error 8: (1,0) becomes 21, still level 1 (entry 9), so its error is 12.
  // (0,1) gets round(5 x 8 / 16) = 2 from above and round(3 x 12 / 16) = 2 from above-right.
  EXPECT_EQ(probe.run({{17, 0, 0}, {17, 0, 0}, {4, 0, 0}, {8, 0, 0}}, 2)[2], 0);
  EXPECT_EQ(probe.run({{17, 0, 0}, {17, 0, 0}, {5, 0, 0}, {8, 0, 0}}, 2)[2], 1);
}

TEST(DitherDiffusion, CellCentresAndEntriesNeedNoDiffusion) {
  // Black and white are cell centres (levels 0 and 15) and palette entries: indices are exact.
  Probe probe({{0, 0, 0}, {255, 255, 255}});
  for (int cell = 0; cell < 4096; ++cell) probe.inverse[static_cast<size_t>(cell)] = cell == 4095 ? 1 : 0;
  std::vector<Pixel> pixels;
  std::vector<uint8_t> expected;
  for (int i = 0; i < 64; ++i) {
    const bool white = (i * 7) % 3 == 0;
    pixels.push_back(white ? Pixel{255, 255, 255} : Pixel{0, 0, 0});
    expected.push_back(white ? 1 : 0);
  }
  EXPECT_EQ(probe.run(pixels, 8), expected);
}

TEST(DitherDiffusion, BottomUpRowsThroughANegativeStride) {
  const Probe probe = boundaryProbe();
  // Memory holds the bottom row first; the diffusion runs from the top row.
  std::vector<uint8_t> bgrx = {0, 0, 8 - 2 + 1, 0, /* bottom row */ 0, 0, 17, 0 /* top row */};
  std::vector<uint8_t> indices(2, 0xEE);
  mDither8bpp::Diffuse({bgrx.data() + 4, -4, indices.data(), 1, 1, 2}, probe.inverse, probe.palette, true);
  EXPECT_EQ(indices, (std::vector<uint8_t>{1, 1}));
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
  std::mt19937 random(21);
  struct Shape {
    int32_t width, height;
  };
  for (const Shape shape : {Shape{1, 1}, Shape{1, 9}, Shape{9, 1}, Shape{2, 2}, Shape{17, 13}, Shape{64, 48}, Shape{301, 7}}) {
    for (int round = 0; round < 4; ++round) {
      SCOPED_TRACE(std::to_string(shape.width) + "x" + std::to_string(shape.height) + " round " + std::to_string(round));
      std::array<uint8_t, 4096> inverse{};
      std::array<uint8_t, 1024> palette{};
      const int entries = 1 + static_cast<int>(random() % 256);
      for (auto& cell : inverse) cell = static_cast<uint8_t>(random() % static_cast<uint32_t>(entries));
      for (auto& byte : palette) byte = static_cast<uint8_t>(random());
      std::vector<uint8_t> bgrx(static_cast<size_t>(shape.width) * shape.height * 4);
      for (auto& byte : bgrx) {
        const uint32_t r = random();
        // Round 1 pushes values to the ends, where the clamping works.
        byte = static_cast<uint8_t>(round == 1 ? (r % 2 ? 255 - r % 6 : r % 6) : r);
      }
      const auto expected = referenceDiffusion(bgrx, shape.width, shape.height, inverse, palette);
      std::vector<uint8_t> indices(expected.size());
      mDither8bpp::Diffuse({bgrx.data(), shape.width * 4, indices.data(), shape.width, shape.width, shape.height},
                           inverse, palette, true);
      ASSERT_EQ(indices, expected);
    }
  }
}

}  // namespace
}  // namespace lumora
