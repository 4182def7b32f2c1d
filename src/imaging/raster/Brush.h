// Brushes (solid, 8 x 8 hatch, picture pattern) and the rectangle fill that uses them.
#pragma once

#include <cstdint>
#include <memory>

#include "imaging/raster/DeviceContext.h"

namespace lumora::raster {

// The six standard hatch styles.
inline constexpr int HS_HORIZONTAL = 0;  // -----
inline constexpr int HS_VERTICAL = 1;    // |||||
inline constexpr int HS_FDIAGONAL = 2;   // \\\\\ (downward, left to right)
inline constexpr int HS_BDIAGONAL = 3;   // ///// (upward, left to right)
inline constexpr int HS_CROSS = 4;       // +++++
inline constexpr int HS_DIAGCROSS = 5;   // xxxxx

class Brush {
 public:
  enum class Kind { Solid, Hatch, Pattern };

  static std::shared_ptr<Brush> Solid(uint32_t rgb);
  // nullptr for a style outside 0..5.
  static std::shared_ptr<Brush> Hatch(int style, uint32_t rgb);
  // The pattern is copied; nullptr for an empty bitmap.
  static std::shared_ptr<Brush> Pattern(const Bitmap& pattern);

  Kind kind() const { return m_kind; }
  uint32_t colour() const { return m_colour; }
  int hatchStyle() const { return m_hatchStyle; }
  const Bitmap* pattern() const { return m_pattern.get(); }
  // Whether the 8 x 8 hatch cell has a line at (x, y), each 0..7.
  bool hatchBit(int x, int y) const;

 private:
  Brush(Kind kind, uint32_t colour, int hatchStyle, std::shared_ptr<Bitmap> pattern);
  Kind m_kind;
  uint32_t m_colour;
  int m_hatchStyle;
  std::shared_ptr<Bitmap> m_pattern;  // 24-bit copy
};

// Fills the rectangle (right and bottom exclusive, clipped) of the context's bitmap. Patterns and
// hatches are aligned to the context's brush origin; hatch background pixels take the background
// colour when the background mode is opaque and are left alone when it is transparent.
int FillRect(HDC dc, const Rect& rect, const Brush& brush);

}  // namespace lumora::raster
