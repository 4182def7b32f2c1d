// A captured picture ready for saving: the quantised blocks of every component (or the plane
// they are transformed from again) and the tables they are quantised with, made from a rectangle
// of a drawing context (sampling, T.81 A.1.1; colour conversion, DCT and quantisation, T.81 A.3).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "imaging/JpegBlockRows.h"
#include "imaging/JpegComponent.h"
#include "imaging/JpegScan.h"
#include "imaging/JpegTables.h"
#include "imaging/raster/DeviceContext.h"

namespace lumora {

struct JpegSampling {
  int32_t H = 1, V = 1;
};

struct JpegCapture {
  int32_t samplePrecision = 8;
  JpegFrameSize frame;
  std::vector<JpegComponent> components;
  std::array<JpegQuantTable, 2> quant;  // luminance, chrominance
  // Set when the components hold no blocks: they are transformed again from this plane (with
  // `zigzag`) each time they are read, so the plane must not change until the stream is written.
  std::optional<JpegPlane> source;
  JpegZigzagMap zigzag{};
};

// Whether a capture transforms its blocks again for each of the two passes that read them, or
// keeps them. Transforming twice takes no longer than writing and reading back two bytes a
// sample, and saves that memory; it needs every component sampled 1 x 1 from a source that is
// read as it is, and other captures keep their blocks.
enum class JpegBlocks { Recomputed, Kept };

struct JpegSourceRect {
  int32_t left = 0, top = 0, width = 0, height = 0;
};

// The frame dimensions SOF0 can carry.
inline constexpr int32_t kJpegMaxDimension = 65535;

// nullopt when the working bitmap cannot be made or the context has nothing selected. A size
// outside 1..65535 raises an error; so does a coefficient outside 16 bits (for recomputed blocks,
// when they are written). Stripes of block rows are captured side by side: `stripes` of them, or
// as many as pay off (JpegStripeCount) for 0.
std::optional<JpegCapture> CaptureJpeg(raster::HDC source, const JpegSourceRect& rect,
                                       std::span<const JpegSampling> sampling,
                                       const std::array<JpegQuantTable, 2>& quant, const JpegZigzagMap& zigzag,
                                       int stripes = 0, JpegBlocks blocks = JpegBlocks::Recomputed);

}  // namespace lumora
