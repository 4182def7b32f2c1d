// mDither8bpp: reduces a 32-bit picture to 8 bits: an optimal palette from a small copy of the
// picture, a 4096-cell inverse table, and Floyd-Steinberg error diffusion from precomputed
// fraction tables; or the best palette, fitted to the whole picture, with each pixel taking its
// nearest entry. One conversion at a time (module-wide tables).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "imaging/raster/Bitmap.h"

namespace lumora {

class cDIB;
class cPal8bpp;

namespace mDither8bpp {

inline constexpr int32_t kPaletteOptimal = 1;   // other values: the 216-colour halftone cube
inline constexpr int32_t kPaletteBest = 3;      // with error diffusion whatever the dither mode
inline constexpr int32_t kDitherDiffusion = 2;  // other values: every pixel to its cell's entry
inline constexpr int kThumbnailSide = 150;

// Builds the level and fraction tables (ConvertTo8bpp also builds them on first use).
void InitDitherTables();
void SetPaletteMode(int32_t mode);
void SetDitherMode(int32_t mode);
int32_t PaletteMode();
int32_t DitherMode();

// What ConvertTo8bpp tells as it works, so that another thread can read the picture's rows
// before the whole picture is finished. Both are called on the converting thread.
class ConversionObserver {
 public:
  virtual ~ConversionObserver() = default;
  // target and palette have their final size and colours; no index is written yet.
  virtual void Started() = 0;
  // Rows 0 .. rows - 1 of target hold their final indices.
  virtual void RowsFinished(int32_t rows) = 0;
};

// Re-creates target as an 8-bit surface of the source's size and fills palette; the source is
// only read. Any depth is accepted (below 32 bits it is converted first); an empty source gives
// an empty target and an empty palette (and the observer hears nothing).
void ConvertTo8bpp(const cDIB& source, cDIB& target, cPal8bpp& palette, ConversionObserver* observer = nullptr);

// The precomputed tables, indexed as the diffusion indexes them.
struct DitherTables {
  static constexpr int kLevelOffset = 8;    // the level table starts at v = -8
  static constexpr int kErrorOffset = 255;  // the fraction tables start at e = -255
  std::array<uint8_t, 271> level;       // v = -8..262 at v + 8: clamp(round(v / 17), 0, 15)
  std::array<int32_t, 511> sixteenth;   // e = -255..255 at e + 255: round(e / 16)
  std::array<int32_t, 511> threeSixteenths;
  std::array<int32_t, 511> fiveSixteenths;
  std::array<int32_t, 511> sevenSixteenths;
};
const DitherTables& Tables();

// The diffusion stage on plain memory: pixels are rows of blue, green, red, reserved (row y at
// pixels + y x pixelStride, which may be negative); indices receives one byte a pixel. inverse
// holds 4096 palette indices at r + 16g + 256b of the 4-bit levels; palette is 256 entries of
// blue, green, red, reserved. The pixels are only read: the diffused values live in two row
// buffers, which gives the same result as diffusing in place on a copy.
struct DiffusionPicture {
  const uint8_t* pixels;
  std::ptrdiff_t pixelStride;
  uint8_t* indices;
  std::ptrdiff_t indexStride;
  int32_t width;
  int32_t height;
};
void Diffuse(const DiffusionPicture& picture, std::span<const uint8_t, 4096> inverse,
             std::span<const uint8_t, 1024> palette, bool spreadErrors, ConversionObserver* observer = nullptr);
// Diffuse, errors always spread, with each pixel taking the entry (of 1..256) nearest to its colour.
void DiffuseExact(const DiffusionPicture& picture, std::span<const raster::RGBQuad> entries,
                  ConversionObserver* observer = nullptr);

}  // namespace mDither8bpp
}  // namespace lumora
