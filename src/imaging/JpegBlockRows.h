// The pixels a group of components is sampled from, and the work that turns one row of its
// blocks into quantised coefficients: colour conversion, DCT and quantisation (T.81 A.3), eight
// pixel rows at a time, rows and columns past the sampled size repeating the last one.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "imaging/JpegColour.h"
#include "imaging/JpegComponent.h"
#include "imaging/JpegQuantiser.h"
#include "imaging/raster/Bitmap.h"

namespace lumora {

// The source bitmap itself when it can be read as it is, else a 24-bit working copy; `keep`
// holds whichever it is.
struct JpegPlane {
  std::shared_ptr<const raster::Bitmap> keep;
  int32_t left = 0, top = 0;
  int bytesPerPixel = 3;

  const uint8_t* Row(int32_t y) const { return keep->row(top + y) + static_cast<ptrdiff_t>(left) * bytesPerPixel; }
};

// One thread's worker for the components of a plane (all of one sampled size).
class JpegBlockRows {
 public:
  JpegBlockRows(const JpegPlane& plane, const JpegComponent& first, std::span<const JpegColourWeights> weights,
                std::span<const JpegQuantiser* const> quantisers);

  // Block row `row` of component c into out[c]: BlocksAcross blocks of 64 zigzag coefficients.
  void Transform(int32_t row, std::span<int16_t* const> out);

 private:
  const JpegPlane& m_plane;
  int32_t m_width, m_height, m_blocksAcross;
  size_t m_paddedWidth;
  std::span<const JpegColourWeights> m_weights;
  std::span<const JpegQuantiser* const> m_quantisers;
  std::vector<std::vector<float>> m_strips;  // per component, eight rows of samples
  std::vector<float*> m_rows;
  alignas(32) std::array<float, 64> m_work{};
};

}  // namespace lumora
