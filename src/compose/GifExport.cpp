#include "compose/GifExport.h"

#include "imaging/GifRoute.h"
#include "imaging/mDither8bpp.h"
#include "imaging/mGIFSave.h"

namespace lumora {

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

// The reduction works from a 32-bit copy whatever depth the file has, so a picture of 8 bits or
// fewer is reduced too instead of leaving an empty surface behind. A file that cannot be loaded
// writes nothing: the work surfaces still hold the previous export's picture.
std::string GifExport::Encode(const std::filesystem::path& intermediate, bool whiteCorner, std::vector<uint8_t>& out) {
  out.clear();
  cDIB loaded;
  uint8_t bpp = 0;
  try {
    bpp = loaded.CreateFromBitmapFile(intermediate);
  } catch (const std::exception&) {
    bpp = 0;
  }
  if (bpp == 0 || m_trueColour.CreateFromStdPicture(loaded.Image(), true) == 0) return kGifLoadFailed;

  mDither8bpp::SetPaletteMode(mDither8bpp::kPaletteOptimal);
  mDither8bpp::SetDitherMode(mDither8bpp::kDitherDiffusion);
  m_transparency = whiteCorner;
  const int16_t transparent = m_transparency ? kTransparentIndex : int16_t{-1};
  if (!EncodeReducedGIF(m_trueColour, m_eightBit, m_palette, transparent, kInterlaced, std::string(), out))
    return kGifWriteFailed;
  return {};
}

}  // namespace lumora
