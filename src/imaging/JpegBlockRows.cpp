#include "imaging/JpegBlockRows.h"

#include <algorithm>

#include "imaging/JpegDct.h"

namespace lumora {

JpegBlockRows::JpegBlockRows(const JpegPlane& plane, const JpegComponent& first,
                             std::span<const JpegColourWeights> weights,
                             std::span<const JpegQuantiser* const> quantisers)
    : m_plane(plane),
      m_width(first.cw),
      m_height(first.ch),
      m_blocksAcross(first.BlocksAcross()),
      m_paddedWidth(static_cast<size_t>(first.pw)),
      m_weights(weights),
      m_quantisers(quantisers),
      m_strips(weights.size(), std::vector<float>(8 * m_paddedWidth)),
      m_rows(weights.size()) {}

void JpegBlockRows::Transform(int32_t row, std::span<int16_t* const> out) {
  for (int32_t r = 0; r < 8; ++r) {
    const int32_t y = std::min(row * 8 + r, m_height - 1);
    for (size_t c = 0; c < m_rows.size(); ++c) m_rows[c] = m_strips[c].data() + static_cast<size_t>(r) * m_paddedWidth;
    JpegConvertRow(m_plane.Row(y), m_plane.bytesPerPixel, m_width, m_weights, m_rows);
    for (float* samples : m_rows) std::fill(samples + m_width, samples + m_paddedWidth, samples[m_width - 1]);
  }
  for (size_t c = 0; c < m_rows.size(); ++c) {
    int16_t* block = out[c];
    for (int32_t bx = 0; bx < m_blocksAcross; ++bx, block += 64) {
      JpegForwardDct(m_strips[c].data() + 8 * bx, static_cast<ptrdiff_t>(m_paddedWidth), m_work);
      m_quantisers[c]->Quantise(m_work, std::span<int16_t, 64>(block, 64));
    }
  }
}

}  // namespace lumora
