#include "imaging/raster/Picture.h"

#include <utility>

namespace lumora::raster {

StdPicture::StdPicture(std::shared_ptr<Bitmap> bitmap)
    : m_type(bitmap ? PictureType::Bitmap : PictureType::None), m_bitmap(std::move(bitmap)) {}

StdPicture StdPicture::OfType(PictureType type) {
  StdPicture picture;
  picture.m_type = type == PictureType::Bitmap ? PictureType::None : type;
  return picture;
}

}  // namespace lumora::raster
