#include "imaging/cDIB.h"

#include <algorithm>
#include <cstring>
#include <system_error>

#include "base/LumoraError.h"
#include "base/Rounding.h"
#include "base/SystemColors.h"
#include "imaging/raster/BmpFile.h"
#include "imaging/raster/Brush.h"

namespace lumora {

using raster::Bitmap;

bool cDIB::Create(int32_t NewWidth, int32_t NewHeight, int32_t Newbpp) {
  return CreateWith(NewWidth, NewHeight, Newbpp, raster::ChannelMasks::DefaultFor(Newbpp));
}

bool cDIB::CreateWith(int32_t width, int32_t height, int32_t bpp, const raster::ChannelMasks& masks) {
  Destroy();
  // Both byte counts are checked before anything is stored, so an overflow leaves the object empty.
  const int32_t bytesPerScanLine = Bitmap::BytesPerScanLine(width, bpp);
  const int64_t size = int64_t{bytesPerScanLine} * height;
  if (size > INT32_MAX || size < INT32_MIN) throw LumoraError::overflow();
  m_dc = raster::CreateCompatibleDC();
  auto bitmap = Bitmap::Create(width, height, bpp, raster::RowOrder::TopDown, masks);
  if (!bitmap) {
    Destroy();
    return false;
  }
  Adopt(std::move(bitmap));
  return true;
}

void cDIB::Adopt(std::shared_ptr<Bitmap> bitmap) {
  m_bitmap = std::move(bitmap);
  m_dc->SelectBitmap(m_bitmap);
  m_width = m_bitmap->width();
  m_height = m_bitmap->height();
  m_bpp = m_bitmap->bpp();
  m_bytesPerScanLine = m_bitmap->stride();
  m_size = m_bytesPerScanLine * m_height;
}

uint8_t cDIB::CreateFromStdPicture(const raster::StdPicture& Image, bool Force32bpp) {
  const Bitmap* picture = Image.Handle();
  if (!picture) return 0;
  const int pictureBpp = picture->bpp();
  if (!Create(picture->width(), picture->height(), Force32bpp ? 32 : pictureBpp)) return 0;
  if (pictureBpp < 9 && !Force32bpp) std::ranges::copy(picture->colorTable(), m_bitmap->colorTable().begin());
  raster::BitBlt(*m_bitmap, 0, 0, m_width, m_height, *picture, 0, 0, raster::SRCCOPY);
  return static_cast<uint8_t>(pictureBpp);
}

uint8_t cDIB::ShareOrCopy32(const raster::StdPicture& Image) {
  const std::shared_ptr<Bitmap>& shared = Image.sharedBitmap();
  if (!shared || shared->bpp() != 32 || shared->masks() != raster::ChannelMasks::DefaultFor(32))
    return CreateFromStdPicture(Image, true);
  Destroy();
  m_dc = raster::CreateCompatibleDC();
  Adopt(shared);
  return 32;
}

uint8_t cDIB::CreateFromBitmapFile(const std::filesystem::path& FileName) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(FileName, ec)) throw LumoraError(ErrorNumber::kFileNotFound, "File not found");
  const auto length = std::filesystem::file_size(FileName, ec);
  if (ec) throw LumoraError(ErrorNumber::kFileNotFound, "File not found");
  if (length == 0) return 0;
  Destroy();
  auto loaded = raster::ReadBmpFile(FileName);
  if (!loaded) return 0;
  m_dc = raster::CreateCompatibleDC();
  Adopt(std::move(loaded.bitmap));
  return static_cast<uint8_t>(m_bpp);
}

// The clone always stores its rows top row first; a surface loaded bottom-up is copied row by
// row so the clone shows the same picture rather than its mirror image.
void cDIB::CloneTo(cDIB& oDIB) const {
  if (&oDIB == this) return;
  if (!m_bitmap) {
    oDIB.Destroy();
    return;
  }
  if (!oDIB.CreateWith(m_width, m_height, m_bpp, m_bitmap->masks())) return;
  std::ranges::copy(m_bitmap->colorTable(), oDIB.m_bitmap->colorTable().begin());
  if (m_bitmap->rowOrder() == raster::RowOrder::TopDown) {
    std::memcpy(oDIB.m_bitmap->bits(), m_bitmap->bits(), static_cast<size_t>(m_size));
    return;
  }
  for (int32_t y = 0; y < m_height; ++y)
    std::memcpy(oDIB.m_bitmap->row(y), m_bitmap->row(y), static_cast<size_t>(m_bytesPerScanLine));
}

void cDIB::Destroy() {
  if (m_dc && m_bitmap) m_dc->SelectBitmap(nullptr);
  m_bitmap.reset();
  m_dc.reset();
  m_width = m_height = m_bpp = m_bytesPerScanLine = m_size = 0;
}

int32_t cDIB::LoadBlt(raster::HDC hSrcDC, int32_t x, int32_t y, int32_t nWidth, int32_t nHeight) {
  if (!m_bitmap) return 0;
  if (nWidth < 1) nWidth = m_width;
  if (nHeight < 1) nHeight = m_height;
  return raster::BitBlt(m_dc.get(), x, y, nWidth, nHeight, hSrcDC, x, y, raster::SRCCOPY);
}

int32_t cDIB::Stretch(raster::HDC hDstDC, int32_t x, int32_t y, int32_t nWidth, int32_t nHeight, int32_t xSrc,
                      int32_t ySrc, int32_t nSrcWidth, int32_t nSrcHeight, uint32_t lROP) {
  if (!m_bitmap || !hDstDC) return 0;
  if (nSrcWidth < 1) nSrcWidth = m_width;
  if (nSrcHeight < 1) nSrcHeight = m_height;
  const int oldMode = hDstDC->SetStretchBltMode(raster::COLORONCOLOR);
  const int result =
      raster::StretchBlt(hDstDC, x, y, nWidth, nHeight, m_dc.get(), xSrc, ySrc, nSrcWidth, nSrcHeight, lROP);
  hDstDC->SetStretchBltMode(oldMode);
  return result;
}

void cDIB::Cls(int32_t BackColor) {
  if (!m_bitmap) return;
  const auto brush = raster::Brush::Solid(SystemColors::Translate(BackColor));
  raster::FillRect(m_dc.get(), raster::Rect{0, 0, m_width, m_height}, *brush);
}

void cDIB::SetPalette(std::span<const uint8_t> Palette) {
  if (!m_bitmap || m_bpp >= 9) return;
  auto table = m_bitmap->colorTable();
  const size_t entries = std::min(Palette.size() / 4, table.size());
  for (size_t i = 0; i < entries; ++i)
    table[i] = raster::RGBQuad{Palette[4 * i], Palette[4 * i + 1], Palette[4 * i + 2], Palette[4 * i + 3]};
}

void cDIB::GetPalette(std::vector<uint8_t>& Palette) const {
  if (!m_bitmap || m_bpp >= 9) return;
  const auto table = m_bitmap->colorTable();
  Palette.assign(table.size() * 4, 0);
  for (size_t i = 0; i < table.size(); ++i) {
    Palette[4 * i] = table[i].blue;
    Palette[4 * i + 1] = table[i].green;
    Palette[4 * i + 2] = table[i].red;
    Palette[4 * i + 3] = table[i].reserved;
  }
}

void cDIB::Resize(int32_t NewWidth, int32_t NewHeight, bool StretchDIB) {
  const raster::ChannelMasks masks = m_bitmap ? m_bitmap->masks() : raster::ChannelMasks::DefaultFor(m_bpp);
  cDIB temp;
  temp.CreateWith(NewWidth, NewHeight, m_bpp, masks);
  std::vector<uint8_t> palette;
  if (m_bpp < 9) {
    GetPalette(palette);
    temp.SetPalette(palette);
  }
  if (StretchDIB)
    Stretch(temp.hDIBDC(), 0, 0, NewWidth, NewHeight);
  else
    Stretch(temp.hDIBDC(), 0, 0, m_width, m_height);
  CreateWith(NewWidth, NewHeight, temp.m_bpp, masks);
  if (m_bpp < 9) SetPalette(palette);
  LoadBlt(temp.hDIBDC());
}

void cDIB::GetBestFitInfo(int32_t DstW, int32_t DstH, int32_t& left, int32_t& top, int32_t& width, int32_t& height,
                          bool StretchFit) const {
  if (!m_bitmap) return;
  if (m_width <= DstW && m_height <= DstH && !StretchFit) {
    width = m_width;
    height = m_height;
  } else {
    // Ratios are kept in single precision, then multiplied in double, as the sizes are integers.
    const auto xr = static_cast<float>(static_cast<double>(DstW) / m_width);
    const auto yr = static_cast<float>(static_cast<double>(DstH) / m_height);
    if (xr < yr) {
      width = DstW;
      height = RoundToInt<int32_t>(static_cast<double>(xr) * m_height);
    } else {
      height = DstH;
      width = RoundToInt<int32_t>(static_cast<double>(yr) * m_width);
    }
  }
  left = (DstW - width) / 2;
  top = (DstH - height) / 2;
}

raster::StdPicture cDIB::Image() const {
  auto bitmap = Bitmap::Create(m_width, m_height, raster::kScreenBitsPerPixel);
  if (!bitmap) return {};
  raster::StretchBlt(*bitmap, 0, 0, m_width, m_height, *m_bitmap, 0, 0, m_width, m_height, raster::SRCCOPY,
                     raster::COLORONCOLOR);
  return raster::StdPicture(std::move(bitmap));
}

}  // namespace lumora
