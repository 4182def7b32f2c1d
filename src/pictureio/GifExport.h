// The GIF route's state, kept for as long as its owner (the main window, or one CLI run): the
// 8-bit work surface, the work palette and the transparency flag. Creating it prepares the module
// tables and selects an optimal palette with error diffusion.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "imaging/cDIB.h"
#include "imaging/cPal8bpp.h"
#include "imaging/raster/Picture.h"
#include "pictureio/ExportOptions.h"

namespace lumora {

inline constexpr const char* kGifLoadFailed = "Unexpected error saving GIF image (1).";
inline constexpr const char* kGifWriteFailed = "Unexpected error saving GIF image (2).";

// Whether the composite's top-left pixel is exactly white (0xFFFFFF); the GIF route then makes
// palette entry 0 transparent.
bool WhiteCorner(const raster::Bitmap& composite);

class GifExport {
 public:
  GifExport();
  GifExport(const GifExport&) = delete;
  GifExport& operator=(const GifExport&) = delete;

  // Reduces the composite to 256 colours with the chosen palette and encodes it; palette entry 0
  // (the top-left pixel's colour cell, or nearest entry) is transparent when whiteCorner.
  // Returns "" with the file's bytes in `out`, or the message for the user.
  std::string Encode(const raster::StdPicture& composite, bool whiteCorner, std::vector<uint8_t>& out,
                     GifPalette palette = GifPalette::Classic);

  bool Transparency() const { return m_transparency; }
  const cDIB& EightBitSurface() const { return m_eightBit; }
  const cPal8bpp& Palette() const { return m_palette; }

 private:
  cDIB m_eightBit;
  cPal8bpp m_palette;
  bool m_transparency = true;
};

}  // namespace lumora
