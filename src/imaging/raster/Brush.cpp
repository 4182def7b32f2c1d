// Brushes and the rectangle fill. Hatch cells are the classic 8 x 8 patterns, one byte per row,
// most significant bit leftmost.
#include "imaging/raster/Brush.h"

#include <algorithm>
#include <array>
#include <vector>

#include "imaging/raster/Blit.h"
#include "imaging/raster/PixelRows.h"

namespace lumora::raster {
namespace {

constexpr std::array<std::array<uint8_t, 8>, 6> kHatchCells = {{
    {0x00, 0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00},  // HS_HORIZONTAL
    {0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08},  // HS_VERTICAL
    {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01},  // HS_FDIAGONAL
    {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80},  // HS_BDIAGONAL
    {0x08, 0x08, 0x08, 0x08, 0xFF, 0x08, 0x08, 0x08},  // HS_CROSS
    {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81},  // HS_DIAGCROSS
}};

// (a - b) mod m, always in 0 .. m-1.
int32_t Wrap(int64_t a, int64_t b, int64_t m) { return static_cast<int32_t>((((a - b) % m) + m) % m); }

}  // namespace

Brush::Brush(Kind kind, uint32_t colour, int hatchStyle, std::shared_ptr<Bitmap> pattern)
    : m_kind(kind), m_colour(colour & 0xFFFFFFu), m_hatchStyle(hatchStyle), m_pattern(std::move(pattern)) {}

std::shared_ptr<Brush> Brush::Solid(uint32_t rgb) {
  return std::shared_ptr<Brush>(new Brush(Kind::Solid, rgb, -1, nullptr));
}

std::shared_ptr<Brush> Brush::Hatch(int style, uint32_t rgb) {
  if (style < HS_HORIZONTAL || style > HS_DIAGCROSS) return nullptr;
  return std::shared_ptr<Brush>(new Brush(Kind::Hatch, rgb, style, nullptr));
}

std::shared_ptr<Brush> Brush::Pattern(const Bitmap& pattern) {
  auto copy = Bitmap::Create(pattern.width(), pattern.height(), 24);
  if (!copy || !BitBlt(*copy, 0, 0, pattern.width(), pattern.height(), pattern, 0, 0, SRCCOPY)) return nullptr;
  return std::shared_ptr<Brush>(new Brush(Kind::Pattern, 0, -1, std::move(copy)));
}

bool Brush::hatchBit(int x, int y) const {
  if (m_kind != Kind::Hatch) return false;
  return (kHatchCells[static_cast<size_t>(m_hatchStyle)][static_cast<size_t>(y & 7)] >> (7 - (x & 7))) & 1u;
}

int FillRect(HDC dc, const Rect& rect, const Brush& brush) {
  if (!dc || !dc->bitmap()) return 0;
  Bitmap& dst = *dc->bitmap();
  const int32_t left = std::max(rect.left, 0), top = std::max(rect.top, 0);
  const int32_t right = std::min(rect.right, dst.width()), bottom = std::min(rect.bottom, dst.height());
  if (left >= right || top >= bottom) return 1;
  const auto n = static_cast<size_t>(right - left);
  const Point origin = dc->GetBrushOrg();
  std::vector<uint32_t> values(n);
  std::vector<uint8_t> drawn(n, 1);

  if (brush.kind() == Brush::Kind::Solid) {
    std::fill(values.begin(), values.end(), dst.valueForRGB(brush.colour()));
    for (int32_t y = top; y < bottom; ++y) WriteValues(dst, y, left, values, SRCCOPY);
    return 1;
  }
  if (brush.kind() == Brush::Kind::Hatch) {
    const uint32_t fore = dst.valueForRGB(brush.colour()), back = dst.valueForRGB(dc->GetBkColor());
    const bool opaque = dc->GetBkMode() == OPAQUE;
    for (int32_t y = top; y < bottom; ++y) {
      const int cy = Wrap(y, origin.y, 8);
      bool any = false;
      for (size_t i = 0; i < n; ++i) {
        const bool line = brush.hatchBit(Wrap(left + static_cast<int64_t>(i), origin.x, 8), cy);
        values[i] = line ? fore : back;
        drawn[i] = line || opaque;
        any = any || drawn[i];
      }
      if (!any) continue;
      for (size_t i = 0; i < n;) {
        if (!drawn[i]) {
          ++i;
          continue;
        }
        const size_t start = i;
        while (i < n && drawn[i]) ++i;
        WriteValues(dst, y, left + static_cast<int32_t>(start), std::span<const uint32_t>(values).subspan(start, i - start),
                    SRCCOPY);
      }
    }
    return 1;
  }
  const Bitmap& pattern = *brush.pattern();
  PixelMapper mapper(pattern, dst);
  std::vector<uint32_t> patternRow(static_cast<size_t>(pattern.width()));
  for (int32_t y = top; y < bottom; ++y) {
    ReadValues(pattern, Wrap(y, origin.y, pattern.height()), 0, patternRow);
    mapper.Map(patternRow);
    for (size_t i = 0; i < n; ++i)
      values[i] = patternRow[static_cast<size_t>(Wrap(left + static_cast<int64_t>(i), origin.x, pattern.width()))];
    WriteValues(dst, y, left, values, SRCCOPY);
  }
  return 1;
}

}  // namespace lumora::raster
