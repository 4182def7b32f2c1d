// A captured picture ready for saving: the quantised blocks of every component and the tables
// they were quantised with, made from a rectangle of a drawing context (sampling, T.81 A.1.1;
// colour conversion, DCT and quantisation, T.81 A.3).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

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
};

struct JpegSourceRect {
  int32_t left = 0, top = 0, width = 0, height = 0;
};

// The frame dimensions SOF0 can carry.
inline constexpr int32_t kJpegMaxDimension = 65535;

// nullopt when the working bitmap cannot be made or the context has nothing selected. A size
// outside 1..65535 raises an error; so does a coefficient outside 16 bits. Stripes of block rows
// are captured side by side: `stripes` of them, or as many as pay off (JpegStripeCount) for 0.
std::optional<JpegCapture> CaptureJpeg(raster::HDC source, const JpegSourceRect& rect,
                                       std::span<const JpegSampling> sampling,
                                       const std::array<JpegQuantTable, 2>& quant, const JpegZigzagMap& zigzag,
                                       int stripes = 0);

}  // namespace lumora
