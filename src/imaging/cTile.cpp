#include "imaging/cTile.h"

#include <algorithm>

#include "base/SystemColors.h"

namespace lumora {

bool cTile::SetPatternFromStdPicture(const raster::StdPicture& picture) {
  DestroyPattern();
  const raster::Bitmap* bitmap = picture.Handle();
  if (!bitmap) return HasPattern();
  // The brush keeps a 24-bit copy of the picture's pixels, as a packed bitmap would.
  m_brush = raster::Brush::Pattern(*bitmap);
  return HasPattern();
}

bool cTile::SetPatternFromHatchBrush(int32_t hatchStyle, Colour colour) {
  DestroyPattern();
  m_brush = raster::Brush::Hatch(hatchStyle, SystemColors::Translate(colour));
  return HasPattern();
}

bool cTile::SetPatternFromSolidColor(Colour colour) {
  DestroyPattern();
  m_brush = raster::Brush::Solid(SystemColors::Translate(colour));
  return HasPattern();
}

void cTile::Tile(raster::HDC dc, int32_t x, int32_t y, int32_t width, int32_t height, bool resetOrigin) const {
  if (!m_brush || !dc) return;
  if (resetOrigin)
    dc->SetBrushOrg(x, y);
  else
    dc->SetBrushOrg(0, 0);
  const int64_t right = int64_t{x} + width, bottom = int64_t{y} + height;
  raster::FillRect(dc,
                   raster::Rect{x, y, static_cast<int32_t>(std::min<int64_t>(right, INT32_MAX)),
                                static_cast<int32_t>(std::min<int64_t>(bottom, INT32_MAX))},
                   *m_brush);
}

void cTile::DestroyPattern() { m_brush.reset(); }

}  // namespace lumora
