// The GIF route on arbitrary small pictures: colour reduction in any mode, then the writer with
// any transparency, interlacing and comment, both one after the other and side by side on two
// threads. Both must give the same bytes; every file must walk block by block, and its LZW data
// must decode, through an independent decoder, to exactly the 8-bit surface's indices.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

#include "../tests/imaging/GifTestSupport.h"
#include "imaging/GifRoute.h"
#include "imaging/cDIB.h"
#include "imaging/cPal8bpp.h"
#include "imaging/mDither8bpp.h"
#include "imaging/mGIFSave.h"

using namespace lumora;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  const int32_t width = 1 + data[0] % 64, height = 1 + data[1] % 64;
  const uint8_t flags = data[2];
  const std::span<const uint8_t> colours = std::span(data, size).subspan(3);
  cDIB source;
  if (!source.Create(width, height, 32)) std::abort();
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x)
      for (int c = 0; c < 3; ++c)
        source.lpBits()[y * source.BytesPerScanLine() + 4 * x + c] = colours[static_cast<size_t>((y * width + x) * 3 + c) % colours.size()];

  mDither8bpp::SetPaletteMode(flags & 1 ? mDither8bpp::kPaletteOptimal : 0);
  mDither8bpp::SetDitherMode(flags & 2 ? mDither8bpp::kDitherDiffusion : 0);
  cDIB target;
  cPal8bpp palette;
  mDither8bpp::ConvertTo8bpp(source, target, palette);
  if (target.BPP() != 8 || target.Width() != width || target.Height() != height) std::abort();
  if (palette.Entries() < 1 || palette.Entries() > 256) std::abort();
  if (palette.Entries() < 2) palette.Entries(2);  // as the route does for a one-colour picture

  const bool interlaced = flags & 4;
  const int16_t transparent = flags & 8 ? static_cast<int16_t>(data[3]) : -1;
  const std::string comment(static_cast<size_t>(flags >> 4) * 40, 'c');
  std::vector<uint8_t> file;
  if (!mGIFSave::EncodeGIF(target, palette, transparent, interlaced, comment, file)) std::abort();
  cDIB routeTarget;
  cPal8bpp routePalette;
  std::vector<uint8_t> routeFile;
  if (!EncodeReducedGIF(source, routeTarget, routePalette, transparent, interlaced, comment, routeFile)) std::abort();
  if (routeFile != file) std::abort();
  const giftest::GifLayout layout = giftest::ParseGif(file);
  if (!layout.ok || !layout.trailer || layout.width != width || layout.height != height) std::abort();
  const giftest::LzwDecoded decoded = giftest::DecodeLzw(layout.data, layout.codeSize);
  if (!decoded.ok || decoded.pixels.size() != static_cast<size_t>(width * height)) std::abort();
  const std::vector<int32_t> order = mGIFSave::RowOrder(height, interlaced);
  for (int32_t i = 0; i < height; ++i)
    for (int32_t x = 0; x < width; ++x)
      if (decoded.pixels[static_cast<size_t>(i * width + x)] != target.lpBits()[order[static_cast<size_t>(i)] * target.BytesPerScanLine() + x])
        std::abort();
  return 0;
}
