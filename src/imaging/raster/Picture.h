// A picture object: a bitmap value that loaders, surfaces and image classes exchange.
#pragma once

#include <cstdint>
#include <memory>

#include "imaging/raster/Bitmap.h"

namespace lumora::raster {

enum class PictureType { None = 0, Bitmap = 1, Metafile = 2, Icon = 3 };

class StdPicture {
 public:
  StdPicture() = default;
  // Takes a bitmap; nobody changes its pixels afterwards.
  explicit StdPicture(std::shared_ptr<Bitmap> bitmap);
  // A picture of another kind (no bitmap behind it), as loaders produce for icons and metafiles.
  static StdPicture OfType(PictureType type);

  PictureType Type() const { return m_type; }
  bool IsNull() const { return m_type == PictureType::None; }
  // The bitmap behind a bitmap picture, nullptr otherwise.
  Bitmap* Handle() const { return m_bitmap.get(); }
  const std::shared_ptr<Bitmap>& sharedBitmap() const { return m_bitmap; }
  int32_t Width() const { return m_bitmap ? m_bitmap->width() : 0; }
  int32_t Height() const { return m_bitmap ? m_bitmap->height() : 0; }

 private:
  PictureType m_type = PictureType::None;
  std::shared_ptr<Bitmap> m_bitmap;
};

}  // namespace lumora::raster
