#include "imaging/cImage.h"

#include <algorithm>
#include <array>

#include "base/LumoraError.h"
#include "base/Rounding.h"

namespace lumora {

using raster::Bitmap;

void cImage::Release() {
  if (m_dc) m_dc->SelectBitmap(nullptr);
  m_bitmap.reset();
  m_dc.reset();
}

bool cImage::Create(int32_t w, int32_t h, int16_t bpp) {
  Release();
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24) return false;
  m_dc = raster::CreateCompatibleDC();
  std::shared_ptr<Bitmap> bitmap;
  try {
    bitmap = Bitmap::Create(w, h, bpp, raster::RowOrder::BottomUp);
  } catch (const LumoraError&) {
    // Failures are reported through the result only.
  }
  if (!bitmap) {
    Release();
    return false;
  }
  auto table = bitmap->colorTable();
  const double top = static_cast<double>(table.size()) - 1;
  for (size_t i = 0; i < table.size(); ++i) {
    const auto grey = static_cast<uint8_t>(RoundHalfEven(static_cast<double>(i) * 255.0 / top));
    table[i] = raster::RGBQuad{grey, grey, grey, 0};
  }
  m_bitmap = std::move(bitmap);
  m_dc->SelectBitmap(m_bitmap);
  return true;
}

// A 32-bit picture (what the screen-compatible surfaces give) is taken as 24 bits, like a 16-bit
// one, since this class keeps no alpha and has no 32-bit form.
bool cImage::CopyStdPicture(const raster::StdPicture& picture, int16_t bpp) {
  const Bitmap* source = picture.Handle();
  if (!source) return false;
  const bool ownDepth = bpp == 0;
  if (ownDepth) bpp = static_cast<int16_t>(source->bpp() > 8 ? 24 : source->bpp());
  if (!Create(source->width(), source->height(), bpp)) return false;
  if (bpp < 24 && ownDepth) {
    const auto from = source->colorTable();
    std::copy_n(from.begin(), std::min(from.size(), m_bitmap->colorTable().size()), m_bitmap->colorTable().begin());
  }
  raster::BitBlt(*m_bitmap, 0, 0, source->width(), source->height(), *source, 0, 0, raster::SRCCOPY);
  return true;
}

bool cImage::CopyHDC(raster::HDC src, int32_t w, int32_t h, int16_t bpp, int32_t srcLeft, int32_t srcTop) {
  std::array<raster::RGBQuad, 256> entries{};
  const int count = raster::GetDIBColorTable(src, 0, 256, entries.data());
  if (bpp == 0) bpp = count == 0 ? 24 : count <= 2 ? 1 : count <= 16 ? 4 : 8;
  if (!Create(w, h, bpp)) return false;
  if (count > 0) raster::SetDIBColorTable(m_dc.get(), 0, count, entries.data());
  raster::BitBlt(m_dc.get(), 0, 0, w, h, src, srcLeft, srcTop, raster::SRCCOPY);
  return true;
}

bool cImage::CopyPalletHDC(raster::HDC src) {
  if (!m_bitmap) return false;
  std::array<raster::RGBQuad, 256> entries{};
  const int wanted = std::min(256, 1 << std::min<int>(BitCount(), 8));
  const int count = raster::GetDIBColorTable(src, 0, wanted, entries.data());
  if (count < 1) return false;
  return raster::SetDIBColorTable(m_dc.get(), 0, count, entries.data()) == count;
}

void cImage::PaintHDC(raster::HDC dst, int32_t x, int32_t y, uint32_t rop) const {
  raster::BitBlt(dst, x, y, Width(), Height(), m_dc.get(), 0, 0, rop);
}

std::unique_ptr<cImage> cImage::SameKind(int32_t w, int32_t h) const {
  auto image = std::make_unique<cImage>();
  if (!image->Create(w, h, BitCount())) return image;
  if (BitCount() < 24) image->CopyPalletHDC(m_dc.get());
  return image;
}

std::unique_ptr<cImage> cImage::Greyscale() const {
  auto grey = std::make_unique<cImage>();
  if (grey->Create(Width(), Height(), 8)) raster::BitBlt(grey->hdc(), 0, 0, Width(), Height(), m_dc.get(), 0, 0, raster::SRCCOPY);
  return grey;
}

std::unique_ptr<cImage> cImage::Resample(int32_t w, int32_t h) const {
  auto image = SameKind(w, h);
  if (w == Width() && h == Height()) {
    raster::BitBlt(image->hdc(), 0, 0, w, h, m_dc.get(), 0, 0, raster::SRCCOPY);
  } else if (image->hdc()) {
    if (image->hdc()->SetStretchBltMode(raster::HALFTONE) == 0) image->hdc()->SetStretchBltMode(raster::COLORONCOLOR);
    raster::StretchBlt(image->hdc(), 0, 0, w, h, m_dc.get(), 0, 0, Width(), Height(), raster::SRCCOPY);
  }
  return image;
}

std::unique_ptr<cImage> cImage::Transformed(int32_t w, int32_t h, const raster::Point corners[3]) const {
  auto image = SameKind(w, h);
  raster::PlgBlt(image->hdc(), corners, m_dc.get(), 0, 0, Width(), Height());
  return image;
}

std::unique_ptr<cImage> cImage::Mirror(bool vertical) const {
  const int32_t w = Width(), h = Height();
  const raster::Point upsideDown[3] = {{0, h}, {w, h}, {0, 0}};
  const raster::Point sideways[3] = {{w, 0}, {0, 0}, {w, h}};
  return Transformed(w, h, vertical ? upsideDown : sideways);
}

std::unique_ptr<cImage> cImage::Rotate(int32_t degrees) const {
  int32_t angle = degrees % 360;
  if (angle < 0) angle += 360;
  const int32_t w = Width(), h = Height();
  switch (angle) {
    case 90: {
      const raster::Point corners[3] = {{0, w}, {0, 0}, {h, w}};
      return Transformed(h, w, corners);
    }
    case 180: {
      const raster::Point corners[3] = {{w, h}, {0, h}, {w, 0}};
      return Transformed(w, h, corners);
    }
    case 270: {
      const raster::Point corners[3] = {{h, 0}, {h, w}, {0, 0}};
      return Transformed(h, w, corners);
    }
    default: return nullptr;
  }
}

}  // namespace lumora
