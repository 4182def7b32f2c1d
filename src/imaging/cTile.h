// cTile: one fill pattern (a brush made from a picture, a hatch style or a solid colour) that
// tiles rectangles of a drawing context.
#pragma once

#include <cstdint>
#include <memory>

#include "base/Colour.h"
#include "imaging/raster/Brush.h"
#include "imaging/raster/DeviceContext.h"
#include "imaging/raster/Picture.h"

namespace lumora {

class cTile {
 public:
  // Anything but a bitmap picture makes nothing; the result says whether a pattern exists.
  bool SetPatternFromStdPicture(const raster::StdPicture& picture);
  bool SetPatternFromHatchBrush(int32_t hatchStyle, Colour colour);
  bool SetPatternFromSolidColor(Colour colour);
  // Without reset the pattern lines up with the context's (0, 0), so separate calls join
  // seamlessly; with reset it starts at (x, y). The brush origin stays as set.
  void Tile(raster::HDC dc, int32_t x, int32_t y, int32_t width, int32_t height, bool resetOrigin = false) const;
  void DestroyPattern();

  bool HasPattern() const { return m_brush != nullptr; }

 private:
  std::shared_ptr<raster::Brush> m_brush;
};

}  // namespace lumora
