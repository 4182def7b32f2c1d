#include "imaging/mDither8bpp.h"

#include <algorithm>

#include "base/Rounding.h"
#include "imaging/BestPalette.h"
#include "imaging/cDIB.h"
#include "imaging/cPal8bpp.h"
#include "imaging/raster/Blit.h"

namespace lumora::mDither8bpp {

namespace {

DitherTables g_tables{};
bool g_tablesBuilt = false;
int32_t g_paletteMode = kPaletteOptimal;
int32_t g_ditherMode = kDitherDiffusion;

constexpr int kLevelOffset = DitherTables::kLevelOffset;
constexpr int kErrorOffset = DitherTables::kErrorOffset;
constexpr int kInverseCells = 4096;  // 16 levels a channel

int32_t roundedFraction(int numerator, int error) {
  return static_cast<int32_t>(RoundHalfEven(static_cast<double>(numerator) * error / 16.0));
}

// A 32-bit surface whose pixels are blue, green, red, unused bytes: the diffusion reads it as it is.
bool isPlain32(const cDIB& dib) {
  return dib.hDIb() != nullptr && dib.BPP() == 32 && dib.hDIb()->masks() == raster::ChannelMasks::DefaultFor(32);
}

// The palette from a copy of the picture reduced to at most 150 x 150 by dropping rows and
// columns (the same pixels as stretching the picture colour-on-colour).
void buildOptimalPalette(const cDIB& source, cPal8bpp& palette) {
  int32_t left = 0, top = 0, width = 0, height = 0;
  source.GetBestFitInfo(kThumbnailSide, kThumbnailSide, left, top, width, height, false);
  // A picture over 300 times wider than high (or the reverse) would round a side to nothing.
  width = std::max(width, 1);
  height = std::max(height, 1);
  cDIB thumbnail;
  if (!thumbnail.Create(width, height, 32)) return;
  raster::StretchBlt(*thumbnail.hDIb(), 0, 0, width, height, *source.hDIb(), 0, 0, source.Width(),
                     source.Height(), raster::SRCCOPY, raster::COLORONCOLOR);
  // Entry 0 is the cell of the first pixel, and the GIF route makes entry 0 transparent when the
  // picture's own top-left pixel is white; sampling from pixel centres would start elsewhere.
  raster::Bitmap& first = *thumbnail.hDIb();
  first.setPixelValue(0, 0, first.valueForRGB(source.hDIb()->pixelRGB(0, 0)));
  palette.CreateOptimal(thumbnail, 256, 8, 1.0F, 1.0F, 1.0F);
}

// Cell (r, g, b) of the 4-bit levels holds the entry nearest to its centre colour (as
// ClosestIndex finds it, from the logical palette).
std::array<uint8_t, kInverseCells> inverseTable(const cPal8bpp& palette) {
  std::array<uint8_t, kInverseCells> inverse{};
  const raster::NearestColourTable nearest = palette.NearestTable();
  for (uint32_t b = 0; b < 16; ++b)
    for (uint32_t g = 0; g < 16; ++g)
      for (uint32_t r = 0; r < 16; ++r)
        inverse[r + 16 * g + 256 * b] = static_cast<uint8_t>(nearest.Nearest(17 * r | (17 * g) << 8 | (17 * b) << 16));
  return inverse;
}

}  // namespace

void InitDitherTables() {
  for (int v = -kLevelOffset; v <= 262; ++v) {
    const double level = RoundHalfEven(static_cast<double>(v) / 17.0);
    g_tables.level[static_cast<size_t>(v + kLevelOffset)] = static_cast<uint8_t>(std::clamp(level, 0.0, 15.0));
  }
  for (int e = -kErrorOffset; e <= kErrorOffset; ++e) {
    const auto i = static_cast<size_t>(e + kErrorOffset);
    g_tables.sixteenth[i] = roundedFraction(1, e);
    g_tables.threeSixteenths[i] = roundedFraction(3, e);
    g_tables.fiveSixteenths[i] = roundedFraction(5, e);
    g_tables.sevenSixteenths[i] = roundedFraction(7, e);
  }
  g_tablesBuilt = true;
}

const DitherTables& Tables() {
  if (!g_tablesBuilt) InitDitherTables();
  return g_tables;
}

void SetPaletteMode(int32_t mode) { g_paletteMode = mode; }
void SetDitherMode(int32_t mode) { g_ditherMode = mode; }
int32_t PaletteMode() { return g_paletteMode; }
int32_t DitherMode() { return g_ditherMode; }

void ConvertTo8bpp(const cDIB& source, cDIB& target, cPal8bpp& palette, ConversionObserver* observer) {
  // Other depths (and channel layouts) go through a 32-bit copy first.
  cDIB converted;
  const bool plain = isPlain32(source);
  if (!plain && source.hDIb() != nullptr) converted.CreateFromStdPicture(source.Image(), true);
  const cDIB& work = plain ? source : converted;
  if (work.hDIb() == nullptr) {
    target.Destroy();
    palette.Initialize(0);
    return;
  }

  const bool best = g_paletteMode == kPaletteBest;
  if (best)
    CreateBestPalette(*work.hDIb(), palette);
  else if (g_paletteMode == kPaletteOptimal)
    buildOptimalPalette(work, palette);
  else
    palette.CreateHalftone(4);
  std::array<uint8_t, 1024> working{};
  std::copy_n(palette.lpPalette().begin(), working.size(), working.begin());

  if (!target.Create(work.Width(), work.Height(), 8)) return;
  target.SetPalette(working);
  if (observer != nullptr) observer->Started();
  const raster::Bitmap& pixels = *work.hDIb();
  raster::Bitmap& indices = *target.hDIb();
  const std::ptrdiff_t down = pixels.rowOrder() == raster::RowOrder::TopDown ? pixels.stride() : -pixels.stride();
  const DiffusionPicture picture{pixels.row(0), down, indices.row(0), indices.stride(), work.Width(), work.Height()};
  if (best)
    DiffuseExact(picture, *palette.hPal(), observer);
  else
    Diffuse(picture, inverseTable(palette), working, g_ditherMode == kDitherDiffusion, observer);
}

}  // namespace lumora::mDither8bpp
