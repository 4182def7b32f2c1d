#include "imaging/raster/DeviceContext.h"

#include <algorithm>
#include <utility>

namespace lumora::raster {

std::shared_ptr<Bitmap> DeviceContext::SelectBitmap(std::shared_ptr<Bitmap> bitmap) {
  std::swap(m_bitmap, bitmap);
  return bitmap;
}

int DeviceContext::SetStretchBltMode(int mode) {
  if (mode < BLACKONWHITE || mode > HALFTONE) return 0;
  return std::exchange(m_stretchMode, mode);
}

Point DeviceContext::SetBrushOrg(int32_t x, int32_t y) { return std::exchange(m_brushOrigin, Point{x, y}); }

uint32_t DeviceContext::SetBkColor(uint32_t rgb) { return std::exchange(m_bkColor, rgb & 0xFFFFFFu); }

int DeviceContext::SetBkMode(int mode) {
  if (mode != OPAQUE && mode != TRANSPARENT) return 0;
  return std::exchange(m_bkMode, mode);
}

std::unique_ptr<DeviceContext> CreateCompatibleDC() { return std::make_unique<DeviceContext>(); }

int GetDIBColorTable(HDC dc, int start, int count, RGBQuad* entries) {
  if (!dc || !dc->bitmap() || start < 0 || count < 0) return 0;
  auto table = dc->bitmap()->colorTable();
  const int n = std::clamp(static_cast<int>(table.size()) - start, 0, count);
  std::copy_n(table.begin() + start, n, entries);
  return n;
}

int SetDIBColorTable(HDC dc, int start, int count, const RGBQuad* entries) {
  if (!dc || !dc->bitmap() || start < 0 || count < 0) return 0;
  auto table = dc->bitmap()->colorTable();
  const int n = std::clamp(static_cast<int>(table.size()) - start, 0, count);
  std::copy_n(entries, n, table.begin() + start);
  return n;
}

}  // namespace lumora::raster
