// Small builders shared by the composition tests: documents with items, plain pictures, ink boxes.
#pragma once

#include <QColor>
#include <QImage>
#include <QRect>
#include <functional>
#include <memory>
#include <string>

#include "document/Document.h"
#include "imaging/raster/Bitmap.h"
#include "imaging/raster/Picture.h"

namespace lumora::test {

// Adds an item with everything set and shown and returns its index; `tweak` changes what the
// test is about.
inline int AddItem(Document& document, const std::string& caption, float left, float top,
                         const std::function<void(TextItem&)>& tweak = {}) {
  const int index = document.CreateItem();
  document.EditItem(index, [&](TextItem& item) {
    item.Caption = caption, item.Left = left, item.Top = top, item.FontName = "DejaVu Sans", item.FontSize = 24;
    item.ForeColor = 0x000000, item.ShadowColor = 0x808080, item.Shadow = false, item.Visible = true;
    if (tweak) tweak(item);
  });
  return index;
}

// A 32-bit top-down picture of one colour (0x00BBGGRR).
inline raster::StdPicture PlainPicture(int width, int height, uint32_t rgb) {
  auto bitmap = raster::Bitmap::Create(width, height, 32, raster::RowOrder::TopDown);
  const uint32_t value = bitmap->valueForRGB(rgb);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) bitmap->setPixelValue(x, y, value);
  return raster::StdPicture(bitmap);
}

// The smallest rectangle holding every pixel that differs from `background` (null when none).
inline QRect InkBox(const QImage& image, QRgb background, const QRect& within = {}) {
  const QRect area = within.isNull() ? image.rect() : within.intersected(image.rect());
  int left = area.right() + 1, right = area.left() - 1, top = area.bottom() + 1, bottom = area.top() - 1;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x) {
      if ((image.pixel(x, y) & 0xFFFFFF) == (background & 0xFFFFFF)) continue;
      left = std::min(left, x), right = std::max(right, x), top = std::min(top, y), bottom = std::max(bottom, y);
    }
  return right < left ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

inline QImage WhiteImage(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(Qt::white);
  return image;
}

}  // namespace lumora::test
