#include "imaging/CachedNearestColour.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace lumora {

namespace {

constexpr uint32_t channelOf(uint32_t packed, int shift) { return packed >> shift & 0xFF; }

int32_t distance(uint32_t packed, int32_t r, int32_t g, int32_t b) {
  const int32_t dr = static_cast<int32_t>(channelOf(packed, 24)) - r;
  const int32_t dg = static_cast<int32_t>(channelOf(packed, 16)) - g;
  const int32_t db = static_cast<int32_t>(channelOf(packed, 8)) - b;
  return dr * dr + dg * dg + db * db;
}

}  // namespace

CachedNearestColour::CachedNearestColour(std::span<const raster::RGBQuad> entries)
    : m_cells(size_t{1} << (3 * kCellBits), kUnlisted),
      m_parents(size_t{1} << (3 * kParentBits), kUnlisted),
      m_slots(size_t{1} << kSlotBits) {
  for (size_t i = 0; i < entries.size(); ++i)
    m_packed.push_back(static_cast<uint32_t>(i) | uint32_t{entries[i].blue} << 8 | uint32_t{entries[i].green} << 16 |
                       uint32_t{entries[i].red} << 24);
  for (size_t i = 0; i < entries.size(); ++i) {
    m_red[i] = entries[i].red;
    m_green[i] = entries[i].green;
    m_blue[i] = entries[i].blue;
  }
}

// The smallest distance << 8 | index wins: the lowest index on ties. Lists come in fours (padded
// with their first candidate), so the loop runs a predictable few rounds without branches.
uint32_t CachedNearestColour::search(uint32_t bgr) {
  const uint32_t cell = CellOf(bgr);
  if (m_cells[cell] == kUnlisted) {
    listCell(cell);
    if (m_cells[cell] < kSingle) return m_packed[m_cells[cell]];
  }
  const int32_t b = static_cast<int32_t>(bgr & 0xFF), g = static_cast<int32_t>(bgr >> 8 & 0xFF),
                r = static_cast<int32_t>(bgr >> 16 & 0xFF);
  const uint32_t* candidate = m_lists.data() + (m_cells[cell] - kSingle);
  const uint32_t* const end = candidate + 1 + *candidate;
  uint32_t best = 0xFFFFFFFF;
  for (++candidate; candidate != end; candidate += 4)
    for (int i = 0; i < 4; ++i)
      best = std::min(best, static_cast<uint32_t>(distance(candidate[i], r, g, b)) << 8 | (candidate[i] & 0xFF));
  return m_packed[best & 0xFF];
}

// Any colour of a cell lies within its reach (half its diagonal) of its centre, so its nearest
// entry lies within the distance to the centre's nearest entry plus twice the reach. A fine cell's
// candidates are all among its parent's, since the fine centre lies within the parent's reach less
// the fine reach: the parent's list is searched instead of every entry.
void CachedNearestColour::select(uint32_t cell, int bits, std::span<const uint32_t> from, float margin,
                                 std::vector<uint32_t>& out) const {
  const int drop = 8 - bits;
  const float half = static_cast<float>((1 << drop) - 1) / 2;
  const auto centre = [&](int shift) { return static_cast<float>((cell >> shift & ((1U << bits) - 1)) << drop) + half; };
  const float r = centre(2 * bits), g = centre(bits), b = centre(0);
  std::array<float, 256> squares{};
  float nearest = std::numeric_limits<float>::max();
  for (size_t k = 0; k < from.size(); ++k) {
    const size_t i = from[k] & 0xFF;
    const float dr = m_red[i] - r, dg = m_green[i] - g, db = m_blue[i] - b;
    squares[k] = dr * dr + dg * dg + db * db;
    nearest = std::min(nearest, squares[k]);
  }
  const float root = std::sqrt(nearest) + 2 * (half * std::sqrt(3.0F)) + margin;
  const float limit = root * root;
  for (size_t k = 0; k < from.size(); ++k)
    if (squares[k] <= limit) out.push_back(from[k]);
}

void CachedNearestColour::listCell(uint32_t cell) {
  constexpr int up = kCellBits - kParentBits;
  constexpr uint32_t mask = (1U << kParentBits) - 1;
  const uint32_t parent = (cell >> (2 * kCellBits + up) & mask) << (2 * kParentBits) |
                          (cell >> (kCellBits + up) & mask) << kParentBits | (cell >> up & mask);
  if (m_parents[parent] == kUnlisted) {
    m_parents[parent] = static_cast<uint32_t>(m_parentLists.size());
    m_parentLists.push_back(0);
    select(parent, kParentBits, m_packed, 1, m_parentLists);  // a wide margin: a superset is enough
    m_parentLists[m_parents[parent]] = static_cast<uint32_t>(m_parentLists.size() - m_parents[parent] - 1);
  }
  const uint32_t* candidates = m_parentLists.data() + m_parents[parent];
  const auto start = static_cast<uint32_t>(m_lists.size());
  m_lists.push_back(0);
  select(cell, kCellBits, {candidates + 1, *candidates}, 0.01F, m_lists);  // the margin covers rounding
  if (m_lists.size() == start + 2) {
    m_cells[cell] = m_lists.back() & 0xFF;
    m_lists.resize(start);
  } else {
    while ((m_lists.size() - start - 1) % 4 != 0) m_lists.push_back(m_lists[start + 1]);
    m_lists[start] = static_cast<uint32_t>(m_lists.size() - start - 1);
    m_cells[cell] = kSingle + start;
  }
}

}  // namespace lumora
