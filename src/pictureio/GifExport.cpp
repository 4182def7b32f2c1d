#include "pictureio/GifExport.h"

#include "imaging/GifRoute.h"
#include "imaging/mDither8bpp.h"
#include "imaging/mGIFSave.h"

namespace lumora {

bool WhiteCorner(const raster::Bitmap& composite) { return composite.pixelRGB(0, 0) == 0xFFFFFF; }

namespace {
constexpr int16_t kTransparentIndex = 0;
constexpr bool kInterlaced = false;
}  // namespace

GifExport::GifExport() {
  mGIFSave::InitGIFMasks();
  mDither8bpp::InitDitherTables();
  mDither8bpp::SetPaletteMode(mDither8bpp::kPaletteOptimal);
  mDither8bpp::SetDitherMode(mDither8bpp::kDitherDiffusion);
}

// The reduction works from 32 bits whatever depth the composite has (its own bitmap when it is
// plain 32-bit, else a copy), so a picture of 8 bits or fewer is reduced too instead of leaving an
// empty surface behind. A composite that cannot be copied writes nothing; the 8-bit surface and
// palette keep the previous export's picture.
std::string GifExport::Encode(const raster::StdPicture& composite, bool whiteCorner, std::vector<uint8_t>& out,
                              GifPalette palette) {
  out.clear();
  cDIB trueColour;
  if (trueColour.ShareOrCopy32(composite) == 0) return kGifLoadFailed;

  mDither8bpp::SetPaletteMode(palette == GifPalette::Best ? mDither8bpp::kPaletteBest : mDither8bpp::kPaletteOptimal);
  mDither8bpp::SetDitherMode(mDither8bpp::kDitherDiffusion);
  m_transparency = whiteCorner;
  const int16_t transparent = m_transparency ? kTransparentIndex : int16_t{-1};
  if (!EncodeReducedGIF(trueColour, m_eightBit, m_palette, transparent, kInterlaced, std::string(), out))
    return kGifWriteFailed;
  return {};
}

}  // namespace lumora
