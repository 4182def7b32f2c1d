// cImage: a bottom-up bitmap of 1, 4, 8 or 24 bits in its own drawing context that copies pictures
// and contexts in, paints itself out and makes greyscale, resampled, mirrored and rotated copies.
#pragma once

#include <cstdint>
#include <memory>

#include "imaging/raster/Blit.h"
#include "imaging/raster/DeviceContext.h"
#include "imaging/raster/Picture.h"

namespace lumora {

class cImage {
 public:
  cImage() = default;
  cImage(const cImage&) = delete;
  cImage& operator=(const cImage&) = delete;
  ~cImage() = default;

  // Depths 1, 4 and 8 get a grey ramp as colour table; other depths than 1/4/8/24 fail.
  bool Create(int32_t w, int32_t h, int16_t bpp);
  // bpp 0 takes the picture's depth (16 and 32 bits become 24).
  bool CopyStdPicture(const raster::StdPicture& picture, int16_t bpp = 0);
  // bpp 0 decides from the source's colour table: 1-2 entries 1 bit, 3-16 4, 17-256 8, none 24.
  bool CopyHDC(raster::HDC src, int32_t w, int32_t h, int16_t bpp = 0, int32_t srcLeft = 0, int32_t srcTop = 0);
  // True when the source's colour table was copied whole.
  bool CopyPalletHDC(raster::HDC src);
  void PaintHDC(raster::HDC dst, int32_t x, int32_t y, uint32_t rop) const;

  std::unique_ptr<cImage> Greyscale() const;
  std::unique_ptr<cImage> Resample(int32_t w, int32_t h) const;
  std::unique_ptr<cImage> Mirror(bool vertical) const;
  // 90 turns counter-clockwise, 270 clockwise; anything but a quarter or half turn gives nullptr.
  std::unique_ptr<cImage> Rotate(int32_t degrees) const;

  int32_t Width() const { return m_bitmap ? m_bitmap->width() : 0; }
  int32_t Height() const { return m_bitmap ? m_bitmap->height() : 0; }
  int16_t BitCount() const { return static_cast<int16_t>(m_bitmap ? m_bitmap->bpp() : 0); }
  raster::HDC hdc() const { return m_dc.get(); }
  uint8_t* DIBitsPtr() const { return m_bitmap ? m_bitmap->bits() : nullptr; }
  int32_t BytesPerScanLine() const { return m_bitmap ? m_bitmap->stride() : 0; }

 private:
  void Release();
  // A new image of the given size at this depth with this colour table.
  std::unique_ptr<cImage> SameKind(int32_t w, int32_t h) const;
  std::unique_ptr<cImage> Transformed(int32_t w, int32_t h, const raster::Point corners[3]) const;

  std::unique_ptr<raster::DeviceContext> m_dc;
  std::shared_ptr<raster::Bitmap> m_bitmap;
};

}  // namespace lumora
