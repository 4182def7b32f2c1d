// cDIB: an in-memory surface (a device-independent bitmap permanently selected into its own
// drawing context) whose pixels the codecs address directly.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "imaging/raster/Blit.h"
#include "imaging/raster/DeviceContext.h"
#include "imaging/raster/Picture.h"

namespace lumora {

class cDIB {
 public:
  cDIB() = default;
  cDIB(const cDIB&) = delete;
  cDIB& operator=(const cDIB&) = delete;
  ~cDIB() { Destroy(); }

  // A top-down surface, all pixels zero, colour table (up to 8 bpp) all black. Raises Overflow
  // when the byte count does not fit 32 bits.
  bool Create(int32_t NewWidth, int32_t NewHeight, int32_t Newbpp);
  // Returns the picture's own bits per pixel, 0 on failure.
  uint8_t CreateFromStdPicture(const raster::StdPicture& Image, bool Force32bpp = false);
  // A 32-bit surface: the picture's own bitmap when it is plain 32-bit (no copy; drawing on the
  // surface draws on the picture), else CreateFromStdPicture(Image, true).
  uint8_t ShareOrCopy32(const raster::StdPicture& Image);
  // Returns the file's bits per pixel, 0 when nothing was loaded (an empty file leaves the surface
  // as it was). A missing file raises "File not found" before anything changes.
  uint8_t CreateFromBitmapFile(const std::filesystem::path& FileName);
  void CloneTo(cDIB& oDIB) const;
  void Destroy();

  int32_t LoadBlt(raster::HDC hSrcDC, int32_t x = 0, int32_t y = 0, int32_t nWidth = 0, int32_t nHeight = 0);
  int32_t Stretch(raster::HDC hDstDC, int32_t x, int32_t y, int32_t nWidth, int32_t nHeight, int32_t xSrc = 0,
                  int32_t ySrc = 0, int32_t nSrcWidth = 0, int32_t nSrcHeight = 0,
                  uint32_t lROP = raster::SRCCOPY);
  void Cls(int32_t BackColor = 0);
  // Byte arrays of 4-byte entries: blue, green, red, reserved.
  void SetPalette(std::span<const uint8_t> Palette);
  void GetPalette(std::vector<uint8_t>& Palette) const;
  void Resize(int32_t NewWidth, int32_t NewHeight, bool StretchDIB = false);
  void GetBestFitInfo(int32_t DstW, int32_t DstH, int32_t& left, int32_t& top, int32_t& width, int32_t& height,
                      bool StretchFit = false) const;

  raster::HDC hDIBDC() const { return m_dc.get(); }
  raster::Bitmap* hDIb() const { return m_bitmap.get(); }
  uint8_t* lpBits() const { return m_bitmap ? m_bitmap->bits() : nullptr; }
  int32_t Width() const { return m_width; }
  int32_t Height() const { return m_height; }
  int32_t BPP() const { return m_bpp; }
  int32_t BytesPerScanLine() const { return m_bytesPerScanLine; }
  int32_t Size() const { return m_size; }
  // A new 32-bit (screen-compatible) picture holding a copy of the surface.
  raster::StdPicture Image() const;

 private:
  bool CreateWith(int32_t width, int32_t height, int32_t bpp, const raster::ChannelMasks& masks);
  // Selects a bitmap into the (existing) context and takes its size fields.
  void Adopt(std::shared_ptr<raster::Bitmap> bitmap);

  std::unique_ptr<raster::DeviceContext> m_dc;
  std::shared_ptr<raster::Bitmap> m_bitmap;
  int32_t m_width = 0;
  int32_t m_height = 0;
  int32_t m_bpp = 0;
  int32_t m_bytesPerScanLine = 0;
  int32_t m_size = 0;
};

}  // namespace lumora
