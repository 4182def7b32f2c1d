// CreateOptimal: hand-checked cells (midpoints, weights, averages, leaf order) and agreement with
// a plain, recursive octree on many pictures and settings.
#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "SurfaceBuilders.h"
#include "base/LumoraError.h"
#include "imaging/cPal8bpp.h"

namespace lumora {
namespace {

using testsurface::Rgb;

std::vector<Rgb> entries(const cPal8bpp& p) {
  std::vector<Rgb> v;
  for (int i = 0; i < p.Entries(); ++i) v.push_back({p.rgbR(i), p.rgbG(i), p.rgbB(i)});
  return v;
}

std::vector<Rgb> optimal(const std::vector<Rgb>& pixels, int32_t width, int32_t nColors, uint8_t levels,
                         float rw = 1, float gw = 1, float bw = 1) {
  cDIB dib;
  testsurface::Fill32(dib, width, static_cast<int32_t>(pixels.size()) / width, pixels);
  cPal8bpp p;
  p.CreateOptimal(dib, nColors, levels, rw, gw, bw);
  EXPECT_NE(p.hPal(), nullptr);
  return entries(p);
}

// A plain octree, step by step: recursive insertion, a node table of 50 that grows to the rounded
// 1.1 x the new count, node count up on every allocation and down on every free.
class ReferenceOctree {
 public:
  std::vector<Rgb> build(const std::vector<Rgb>& pixels, int32_t nColors, int levels, std::array<float, 3> weights) {
    m_nodes.assign(51, Node{});
    m_count = 1;
    m_limit = levels;
    m_weights = weights;
    for (const Rgb& p : pixels) {
      insert(1, 1, {0, 0, 0}, {255, 255, 255}, p);
      while (m_leaves > nColors)
        if (!reduce()) break;
    }
    std::vector<Rgb> out;
    for (size_t i = 1; i < m_nodes.size(); ++i) {
      const Node& n = m_nodes[i];
      if (!n.leaf) continue;
      auto avg = [&](int64_t sum) { return static_cast<uint8_t>(std::nearbyint(static_cast<double>(sum) / n.count)); };
      out.push_back({avg(n.r), avg(n.g), avg(n.b)});
    }
    return out;
  }

 private:
  struct Node {
    bool leaf = false, listed = false;
    int64_t r = 0, g = 0, b = 0, count = 0;
    int child[8] = {};
    int next = 0;
  };

  int allocate(bool leaf) {
    int index;
    if (m_free != 0) {
      index = m_free;
      m_free = m_nodes[static_cast<size_t>(index)].next;
    } else {
      index = m_count + 1;
      if (index > static_cast<int>(m_nodes.size()) - 1)
        m_nodes.resize(static_cast<size_t>(std::nearbyint(1.1 * index)) + 1);
    }
    ++m_count;
    Node& n = m_nodes[static_cast<size_t>(index)];
    EXPECT_FALSE(n.leaf) << "a live node was handed out again";
    n = Node{};
    n.leaf = leaf;
    return index;
  }

  void insert(int node, int level, std::array<int, 3> lo, std::array<int, 3> hi, const Rgb& p) {
    const int value[3] = {p.r, p.g, p.b};
    int slot = 0;
    for (int c = 0; c < 3; ++c) {
      const int mid = static_cast<int>(std::nearbyint(lo[c] / 2.0 + hi[c] / 2.0));
      if (static_cast<float>(value[c]) * m_weights[static_cast<size_t>(c)] <= static_cast<float>(mid)) {
        hi[c] = mid;
      } else {
        lo[c] = mid;
        slot += 1 << c;
      }
    }
    if (m_nodes[static_cast<size_t>(node)].child[slot] == 0) {
      const int child = allocate(level == m_limit);
      m_nodes[static_cast<size_t>(node)].child[slot] = child;
    }
    const int child = m_nodes[static_cast<size_t>(node)].child[slot];
    Node& c = m_nodes[static_cast<size_t>(child)];
    if (c.leaf) {
      if (c.count == 0) ++m_leaves;
      ++c.count;
      c.r += p.r;
      c.g += p.g;
      c.b += p.b;
      return;
    }
    if (!c.listed) {
      c.next = m_lists[level];
      m_lists[level] = child;
      c.listed = true;
    }
    insert(child, level + 1, lo, hi, p);
  }

  bool reduce() {
    int level = m_limit;
    while (level >= 1 && m_lists[level] == 0) --level;
    if (level == 0) return false;
    const int index = m_lists[level];
    m_lists[level] = m_nodes[static_cast<size_t>(index)].next;
    int64_t r = 0, g = 0, b = 0, count = 0;
    for (int s = 0; s < 8; ++s) {
      const int child = m_nodes[static_cast<size_t>(index)].child[s];
      if (child == 0) continue;
      Node& c = m_nodes[static_cast<size_t>(child)];
      r += c.r;
      g += c.g;
      b += c.b;
      count += c.count;
      c.next = m_free;
      m_free = child;
      c.leaf = c.listed = false;
      --m_count;
      --m_leaves;
    }
    Node& n = m_nodes[static_cast<size_t>(index)];
    n.leaf = true;
    n.r = r;
    n.g = g;
    n.b = b;
    n.count = count;
    ++m_leaves;
    return true;
  }

  std::vector<Node> m_nodes;
  int m_count = 0, m_free = 0, m_leaves = 0, m_limit = 0;
  int m_lists[9] = {};
  std::array<float, 3> m_weights{};
};

TEST(Pal8bppOptimal, BlackWhiteRedGivesThreeExactEntriesTopLeftFirst) {
  const Rgb k{0, 0, 0}, w{255, 255, 255}, r{255, 0, 0};
  for (const Rgb& corner : {r, w, k}) {
    const std::vector<Rgb> pixels = {corner, k, w, r, w, k, r, r, k, w, w, k};
    const std::vector<Rgb> e = optimal(pixels, 4, 256, 8);
    ASSERT_EQ(e.size(), 3u);
    EXPECT_EQ(e[0], corner);
    for (const Rgb& c : {k, w, r}) EXPECT_EQ(std::count(e.begin(), e.end(), c), 1);
  }
}

TEST(Pal8bppOptimal, RootMidpointIs128AndSmallerOrEqualGoesLow) {
  // One level: 128 goes to the low cell, 129 to the high one. Entries follow node order (first
  // pixel first), not slot order.
  EXPECT_EQ(optimal({{129, 129, 129}, {128, 128, 128}}, 2, 256, 1),
            (std::vector<Rgb>{{129, 129, 129}, {128, 128, 128}}));
}

TEST(Pal8bppOptimal, SecondLevelMidpointsRoundHalvesToEven) {
  // Above the root's 128 the range is 128..255, whose middle 191.5 rounds to 192: 191 and 192
  // share a cell, 193 does not.
  EXPECT_EQ(optimal({{191, 0, 0}, {192, 0, 0}}, 2, 256, 2).size(), 1u);
  EXPECT_EQ(optimal({{192, 0, 0}, {193, 0, 0}}, 2, 256, 2).size(), 2u);
  // Below it the range is 0..128, middle 64.
  EXPECT_EQ(optimal({{64, 0, 0}, {65, 0, 0}}, 2, 256, 2).size(), 2u);
}

TEST(Pal8bppOptimal, AveragesRoundHalvesToEven) {
  EXPECT_EQ(optimal({{126, 1, 3}, {127, 2, 4}}, 2, 256, 1), (std::vector<Rgb>{{126, 2, 4}}));
  EXPECT_EQ(optimal({{127, 0, 0}, {128, 0, 0}}, 2, 256, 1), (std::vector<Rgb>{{128, 0, 0}}));
  EXPECT_EQ(optimal({{10, 0, 0}, {10, 0, 0}, {11, 0, 0}}, 3, 256, 1), (std::vector<Rgb>{{10, 0, 0}}));
}

TEST(Pal8bppOptimal, WeightsChooseTheCellButNotTheAverage) {
  EXPECT_EQ(optimal({{100, 0, 0}, {50, 0, 0}}, 2, 256, 1), (std::vector<Rgb>{{75, 0, 0}}));
  EXPECT_EQ(optimal({{100, 0, 0}, {50, 0, 0}}, 2, 256, 1, 2.0F, 1, 1),
            (std::vector<Rgb>{{100, 0, 0}, {50, 0, 0}}));
  EXPECT_EQ(optimal({{0, 0, 100}, {0, 0, 50}}, 2, 256, 1, 1, 1, 2.0F).size(), 2u);
  cDIB dib;
  testsurface::Fill32(dib, 1, 1, {{1, 2, 3}});
  cPal8bpp p;
  p.CreateOptimal(dib, 16, 8, 0.5F, 1.5F, 2.5F);
  EXPECT_EQ(p.Weights(), (std::array<float, 3>{0.5F, 1.5F, 2.5F}));
}

TEST(Pal8bppOptimal, NeverMoreLeavesThanAskedUnlessNothingReduces) {
  // Colours in two of the root's cells: two entries at most.
  std::vector<Rgb> two;
  for (int i = 0; i < 200; ++i)
    two.push_back(i % 2 ? Rgb{static_cast<uint8_t>(i / 2), 10, 20} : Rgb{200, static_cast<uint8_t>(130 + i / 4), 250});
  EXPECT_LE(optimal(two, 20, 2, 8).size(), 2u);
  // Colours in all eight: the root's children cannot be folded, so eight remain.
  EXPECT_EQ(optimal(testsurface::RandomColours(3000, 5), 100, 2, 8).size(), 8u);
  for (int32_t n : {1, 5, 17, 100, 255}) EXPECT_LE(optimal(testsurface::RandomColours(3000, 6), 60, n, 8).size(), static_cast<size_t>(std::max(n, 8)));
}

TEST(Pal8bppOptimal, NoMoreThan256Entries) {
  EXPECT_LE(optimal(testsurface::RandomColours(5000, 7), 100, 1000, 8).size(), 256u);
}

TEST(Pal8bppOptimal, OtherDepthsAreIgnored) {
  cPal8bpp p;
  p.CreateEGA();
  cDIB dib;
  dib.Create(4, 4, 24);
  p.CreateOptimal(dib, 256, 8, 1, 1, 1);
  EXPECT_EQ(p.Entries(), 16);
  cDIB empty;
  p.CreateOptimal(empty, 256, 8, 1, 1, 1);
  EXPECT_EQ(p.Entries(), 16);
}

TEST(Pal8bppOptimal, LevelsOutsideOneToEightAreRefused) {
  cDIB dib;
  testsurface::Fill32(dib, 1, 1, {{1, 2, 3}});
  cPal8bpp p;
  for (uint8_t levels : {0, 9}) {
    try {
      p.CreateOptimal(dib, 256, levels, 1, 1, 1);
      ADD_FAILURE() << int(levels);
    } catch (const LumoraError& e) {
      EXPECT_EQ(e.number(), ErrorNumber::kInvalidCall);
    }
  }
}

TEST(Pal8bppOptimal, OneColourPictureOfManyPixels) {
  const std::vector<Rgb> pixels(90000, Rgb{200, 100, 7});
  EXPECT_EQ(optimal(pixels, 300, 256, 8), (std::vector<Rgb>{{200, 100, 7}}));
}

struct ReferenceCase {
  const char* name;
  std::vector<Rgb> pixels;
  int32_t width;
  int32_t nColors;
  uint8_t levels;
  std::array<float, 3> weights;
};

TEST(Pal8bppOptimal, AgreesWithAPlainRecursiveOctree) {
  std::vector<ReferenceCase> cases;
  const auto photo = testsurface::PhotoLike(150, 100, 3);
  const auto noise = testsurface::RandomColours(6000, 4);
  for (int32_t n : {2, 7, 16, 64, 200, 256})
    for (uint8_t levels : {1, 3, 5, 8}) {
      cases.push_back({"photo", photo, 150, n, levels, {1, 1, 1}});
      cases.push_back({"noise", noise, 100, n, levels, {1, 1, 1}});
    }
  cases.push_back({"weighted photo", photo, 150, 256, 8, {0.6F, 1.0F, 1.7F}});
  cases.push_back({"weighted noise", noise, 100, 64, 6, {1.3F, 0.9F, 0.4F}});
  for (const ReferenceCase& c : cases) {
    SCOPED_TRACE(std::string(c.name) + " n=" + std::to_string(c.nColors) + " levels=" + std::to_string(c.levels));
    const auto expected = ReferenceOctree().build(c.pixels, c.nColors, c.levels, c.weights);
    EXPECT_EQ(optimal(c.pixels, c.width, c.nColors, c.levels, c.weights[0], c.weights[1], c.weights[2]), expected);
  }
}

}  // namespace
}  // namespace lumora
