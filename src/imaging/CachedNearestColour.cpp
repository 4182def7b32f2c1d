#include "imaging/CachedNearestColour.h"

#include <algorithm>
#include <array>
#include <cmath>

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
    : m_cells(size_t{1} << (3 * kCellBits), kUnlisted), m_slots(size_t{1} << kSlotBits) {
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

// Any colour of the cell lies within `reach` of its centre, so its nearest entry lies within the
// distance to the centre's nearest entry plus twice that.
void CachedNearestColour::listCell(uint32_t cell) {
  constexpr float half = static_cast<float>((1 << kDrop) - 1) / 2;
  const float reach = half * std::sqrt(3.0F);
  const auto centre = [&](int shift) {
    return static_cast<float>((cell >> shift & ((1U << kCellBits) - 1)) << kDrop) + half;
  };
  const float r = centre(2 * kCellBits), g = centre(kCellBits), b = centre(0);
  std::array<float, 256> squares{};
  const size_t count = m_packed.size();
  for (size_t i = 0; i < count; ++i) {
    const float dr = m_red[i] - r, dg = m_green[i] - g, db = m_blue[i] - b;
    squares[i] = dr * dr + dg * dg + db * db;
  }
  const float root = std::sqrt(*std::min_element(squares.begin(), squares.begin() + static_cast<std::ptrdiff_t>(count))) +
                     2 * reach + 0.01F;  // the margin covers rounding
  const float limit = root * root;
  const auto start = static_cast<uint32_t>(m_lists.size());
  m_lists.push_back(0);
  for (size_t i = 0; i < count; ++i)
    if (squares[i] <= limit) m_lists.push_back(m_packed[i]);
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
