#include "imaging/cPal8bpp.h"

#include <algorithm>
#include <cstring>

#include "base/LumoraError.h"
#include "base/Rounding.h"
#include "imaging/cDIB.h"
#include "imaging/raster/ColorMatch.h"

namespace lumora {

namespace {

constexpr int kMaxEntries = 256;
constexpr size_t kEntryBytes = 4;
constexpr int32_t kInitialNodeCapacity = 50;

LumoraError invalidCall() { return {ErrorNumber::kInvalidCall, "Invalid procedure call or argument"}; }

void checkCount(int32_t count) {
  if (count < 0 || count > kMaxEntries) throw invalidCall();
}

// The 16 EGA colours (red, green, blue).
constexpr std::array<std::array<uint8_t, 3>, 16> kEga = {{{0, 0, 0},
                                                          {128, 0, 0},
                                                          {0, 128, 0},
                                                          {128, 128, 0},
                                                          {0, 0, 128},
                                                          {128, 0, 128},
                                                          {0, 128, 128},
                                                          {192, 192, 192},
                                                          {128, 128, 128},
                                                          {255, 0, 0},
                                                          {0, 255, 0},
                                                          {255, 255, 0},
                                                          {0, 0, 255},
                                                          {255, 0, 255},
                                                          {0, 255, 255},
                                                          {255, 255, 255}}};

// The middle of lo..hi as a byte, halves to even (the root's middles are 128).
uint8_t midpoint(uint8_t lo, uint8_t hi) {
  return static_cast<uint8_t>(RoundHalfEven(static_cast<double>(lo) / 2 + static_cast<double>(hi) / 2));
}

uint8_t average(uint64_t sum, uint32_t count) {
  return static_cast<uint8_t>(RoundHalfEven(static_cast<double>(sum) / static_cast<double>(count)));
}

}  // namespace

void cPal8bpp::Initialize(int16_t InitialEntries) {
  checkCount(InitialEntries);
  Destroy();
  m_count = InitialEntries;
  m_entries.assign(kMaxEntries * kEntryBytes, 0);
}

void cPal8bpp::Destroy() {
  m_count = 0;
  m_entries.clear();
  m_entries.shrink_to_fit();
  m_logical.reset();
}

// The platform's palette entries are red, green, blue; ours are copied unchanged, so it sees our
// blue in its red field. Queries exchange red and blue to match, which leaves the distances as
// between like channels: RGBQuad keeps the byte order, so the exchange cancels out here.
void cPal8bpp::BuildLogicalPalette() {
  m_logical.reset();
  std::vector<raster::RGBQuad> logical(static_cast<size_t>(m_count));
  if (m_count > 0) std::memcpy(logical.data(), m_entries.data(), logical.size() * kEntryBytes);
  m_logical = std::move(logical);
}

void cPal8bpp::SetPalette(std::span<const uint8_t> Palette) {
  const size_t count = std::min<size_t>(Palette.size() / kEntryBytes, kMaxEntries);
  Initialize(static_cast<int16_t>(count));
  std::copy_n(Palette.begin(), count * kEntryBytes, m_entries.begin());
}

void cPal8bpp::GetPalette(std::vector<uint8_t>& Palette) const {
  const size_t bytes = static_cast<size_t>(m_count) * kEntryBytes;
  Palette.assign(m_entries.begin(), m_entries.begin() + static_cast<std::ptrdiff_t>(bytes));
}

uint8_t cPal8bpp::nearest(uint8_t R, uint8_t G, uint8_t B) const {
  if (!m_logical || m_logical->empty()) throw invalidCall();
  const uint32_t rgb = R | (uint32_t{G} << 8) | (uint32_t{B} << 16);
  return static_cast<uint8_t>(raster::NearestIndex(*m_logical, rgb));
}

void cPal8bpp::ClosestColor(uint8_t R, uint8_t G, uint8_t B, uint8_t& cR, uint8_t& cG, uint8_t& cb) const {
  const uint8_t index = nearest(R, G, B);
  cR = rgbR(index);
  cG = rgbG(index);
  cb = rgbB(index);
}

uint8_t cPal8bpp::ClosestIndex(uint8_t R, uint8_t G, uint8_t B) const { return nearest(R, G, B); }

raster::NearestColourTable cPal8bpp::NearestTable() const {
  if (!m_logical || m_logical->empty()) throw invalidCall();
  return raster::NearestColourTable(*m_logical);
}

bool cPal8bpp::IsGreyScale() const {
  if (m_count < 1) return false;
  for (int i = 0; i < m_count; ++i)
    if (rgbR(i) != rgbG(i) || rgbG(i) != rgbB(i)) return false;
  return true;
}

void cPal8bpp::Entries(int16_t count) {
  checkCount(count);
  m_count = count;
}

size_t cPal8bpp::byteIndex(int32_t entry, int channel) const {
  if (entry < 0 || entry >= kMaxEntries || m_entries.empty()) throw LumoraError::subscriptOutOfRange();
  return static_cast<size_t>(entry) * kEntryBytes + static_cast<size_t>(channel);
}

void cPal8bpp::setEntry(int index, uint8_t red, uint8_t green, uint8_t blue) {
  rgbR(index, red);
  rgbG(index, green);
  rgbB(index, blue);
}

void cPal8bpp::CreateGreyScale(int32_t GreyLevels) {
  Initialize(0);
  const int step = GreyLevels == 0 ? 255 : GreyLevels == 1 ? 17 : GreyLevels == 2 ? 1 : 0;
  if (step == 0) throw LumoraError::divisionByZero();
  const int last = 255 / step;
  for (int i = 0; i <= last; ++i) {
    const auto grey = static_cast<uint8_t>(i * step);
    setEntry(i, grey, grey, grey);
  }
  m_count = static_cast<int16_t>(last + 1);
  BuildLogicalPalette();
}

void cPal8bpp::CreateEGA() {
  Initialize(16);
  for (int i = 0; i < 16; ++i) setEntry(i, kEga[i][0], kEga[i][1], kEga[i][2]);
  BuildLogicalPalette();
}

void cPal8bpp::CreateHalftone(int32_t HalftoneLevels) {
  static constexpr std::array<int, 5> kSteps = {256, 128, 85, 64, 51};
  if (HalftoneLevels < 0 || HalftoneLevels > 4) throw invalidCall();
  const int step = kSteps[static_cast<size_t>(HalftoneLevels)];
  // Channel values 0, step, 2 x step ... up to 256, which is stored as 255.
  std::vector<uint8_t> values;
  for (int v = 0; v <= 256; v += step) values.push_back(static_cast<uint8_t>(std::min(v, 255)));
  const int n = static_cast<int>(values.size());
  Initialize(static_cast<int16_t>(n * n * n));
  int index = 0;
  for (int b = 0; b < n; ++b)
    for (int g = 0; g < n; ++g)
      for (int r = 0; r < n; ++r) setEntry(index++, values[r], values[g], values[b]);
  BuildLogicalPalette();
}

void cPal8bpp::CreateWebsafe() {
  Initialize(256);
  for (int i = 0; i < 8; ++i) {
    setEntry(i, kEga[i][0], kEga[i][1], kEga[i][2]);
    setEntry(248 + i, kEga[8 + i][0], kEga[8 + i][1], kEga[8 + i][2]);
  }
  // The cube without the eight colours the EGA part already holds: black, white, the primaries
  // and the secondaries.
  int index = 8;
  for (int b = 0; b <= 255; b += 51)
    for (int g = 0; g <= 255; g += 51)
      for (int r = 0; r <= 255; r += 51) {
        const int sum = r + g + b;
        const int zeros = (r == 0) + (g == 0) + (b == 0);
        const bool inEga = sum == 0 || sum == 765 || (sum == 510 && zeros == 1) || (sum == 255 && zeros == 2);
        if (!inEga) setEntry(index++, static_cast<uint8_t>(r), static_cast<uint8_t>(g), static_cast<uint8_t>(b));
      }
  // Entry 216 stays black; 217..247 are greys 8..248.
  for (int i = 217; i <= 247; ++i) {
    const auto grey = static_cast<uint8_t>(8 * (i - 216));
    setEntry(i, grey, grey, grey);
  }
  BuildLogicalPalette();
}

// --- Optimal palette ------------------------------------------------------------------------

void cPal8bpp::CreateOptimal(const cDIB& oDIB32, int32_t nColors, uint8_t nLevels, float RWeight,
                             float GWeight, float BWeight) {
  if (oDIB32.BPP() != 32 || oDIB32.hDIb() == nullptr) return;
  if (nLevels < 1 || nLevels > 8) throw invalidCall();
  // The entry table has 256 places; more leaves than that could not become entries.
  const int32_t maxLeaves = std::min(nColors, kMaxEntries);
  m_weights = {RWeight, GWeight, BWeight};
  buildPaths();
  resetOctree(nLevels);
  const raster::Bitmap& bitmap = *oDIB32.hDIb();
  for (int32_t y = 0; y < bitmap.height(); ++y) {
    const uint8_t* p = bitmap.row(y);
    for (int32_t x = 0; x < bitmap.width(); ++x, p += 4) {
      insertColour(p[2], p[1], p[0]);
      while (m_leaves > maxLeaves)
        if (!reduceOnce()) break;
    }
  }
  paletteFromLeaves();
}

void cPal8bpp::resetOctree(uint8_t levels) {
  m_nodes.assign(2, Node{});  // node 0 is unused, node 1 is the root (an inner node)
  m_nodes.reserve(kInitialNodeCapacity + 1);
  m_nodesInUse = 1;
  m_freeHead = 0;
  m_leaves = 0;
  m_levelLimit = levels;
  m_reducible.fill(0);
}

// From the free list when it has a node, else the next new index. Nodes in use are always
// 1..count while the free list is empty, so a new index never meets a live node.
int32_t cPal8bpp::allocateNode(bool leaf) {
  int32_t index;
  if (m_freeHead != 0) {
    index = m_freeHead;
    m_freeHead = m_nodes[static_cast<size_t>(index)].next;
  } else {
    index = static_cast<int32_t>(m_nodes.size());
    m_nodes.emplace_back();
  }
  ++m_nodesInUse;
  Node& node = m_nodes[static_cast<size_t>(index)];
  node = Node{};
  node.leaf = leaf;
  return index;
}

// Per channel and value, the branch taken at each level (bit level - 1 set: the upper half):
// halving the channel's range per level, the weighted value above the middle takes the upper
// half. The path depends on nothing else, so it is worked out once per value, not per pixel.
void cPal8bpp::buildPaths() {
  for (size_t c = 0; c < 3; ++c)
    for (int v = 0; v < 256; ++v) {
      uint8_t lo = 0, hi = 255, path = 0;
      for (int level = 1; level <= 8; ++level) {
        const uint8_t mid = midpoint(lo, hi);
        if (static_cast<float>(v) * m_weights[c] <= static_cast<float>(mid)) {
          hi = mid;
        } else {
          lo = mid;
          path = static_cast<uint8_t>(path | 1 << (level - 1));
        }
      }
      m_paths[c][static_cast<size_t>(v)] = path;
    }
}

// Walks down from the root along the channels' paths: red is bit 0 of a child's slot, green
// bit 1, blue bit 2.
void cPal8bpp::insertColour(uint8_t R, uint8_t G, uint8_t B) {
  // The three paths interleaved: the slot of level l in bits 3(l - 1) .. 3(l - 1) + 2.
  uint32_t slots = 0;
  const uint32_t red = m_paths[0][R], green = m_paths[1][G], blue = m_paths[2][B];
  for (uint32_t bit = 0; bit < 8; ++bit)
    slots |= ((red >> bit & 1) | (green >> bit & 1) << 1 | (blue >> bit & 1) << 2) << (3 * bit);
  int32_t node = 1;
  for (int level = 1;; ++level, slots >>= 3) {
    int32_t child = m_nodes[static_cast<size_t>(node)].child[slots & 7];
    if (child == 0) {
      child = allocateNode(level == m_levelLimit);
      m_nodes[static_cast<size_t>(node)].child[slots & 7] = child;
    }
    Node& c = m_nodes[static_cast<size_t>(child)];
    if (c.leaf) {
      if (c.pixels == 0) ++m_leaves;
      ++c.pixels;
      c.red += R;
      c.green += G;
      c.blue += B;
      return;
    }
    if (!c.listed) {
      c.listed = true;
      c.next = m_reducible[static_cast<size_t>(level)];
      m_reducible[static_cast<size_t>(level)] = child;
    }
    node = child;
  }
}

// Folds the most recently listed node of the deepest level into one leaf.
bool cPal8bpp::reduceOnce() {
  int level = m_levelLimit;
  while (level >= 1 && m_reducible[static_cast<size_t>(level)] == 0) --level;
  if (level < 1) return false;
  const int32_t index = m_reducible[static_cast<size_t>(level)];
  m_reducible[static_cast<size_t>(level)] = m_nodes[static_cast<size_t>(index)].next;

  uint64_t red = 0, green = 0, blue = 0;
  uint32_t pixels = 0;
  for (int32_t& link : m_nodes[static_cast<size_t>(index)].child) {
    if (link == 0) continue;
    Node& child = m_nodes[static_cast<size_t>(link)];
    red += child.red;
    green += child.green;
    blue += child.blue;
    pixels += child.pixels;
    child.leaf = false;
    child.listed = false;
    child.next = m_freeHead;
    m_freeHead = link;
    --m_nodesInUse;
    --m_leaves;
    link = 0;
  }
  Node& node = m_nodes[static_cast<size_t>(index)];
  node.leaf = true;
  node.red = red;
  node.green = green;
  node.blue = blue;
  node.pixels = pixels;
  ++m_leaves;
  return true;
}

// Leaves in node order become the entries: the first pixel's ancestors took the lowest indices,
// so entry 0 is the cell of the first pixel visited.
void cPal8bpp::paletteFromLeaves() {
  Initialize(0);
  int count = 0;
  for (size_t i = 1; i < m_nodes.size(); ++i) {
    const Node& node = m_nodes[i];
    if (!node.leaf) continue;
    setEntry(count++, average(node.red, node.pixels), average(node.green, node.pixels),
             average(node.blue, node.pixels));
  }
  m_count = static_cast<int16_t>(count);
  BuildLogicalPalette();
}

}  // namespace lumora
