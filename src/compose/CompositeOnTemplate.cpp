#include "compose/CompositeOnTemplate.h"

#include <QPainter>
#include <cstring>
#include <new>

#include "compose/DocumentUnits.h"
#include "compose/TextPainter.h"
#include "imaging/raster/Rgb32.h"

namespace lumora {

namespace {

// All an item can touch: its box and its shadow's, widened by the outline, the blur and glyphs
// overhanging their box (italics, accents, bent lines). Generous, since painting is cut to it.
QRect PaintedArea(const TextItem& item, const TextLayout& layout) {
  const QSize size(layout.width, layout.height());
  QRect area(QPoint(TwipsToPixels(item.Left), TwipsToPixels(item.Top)), size);
  if (item.Shadow) area |= QRect(QPoint(TwipsToPixels(item.ShadowLeft()), TwipsToPixels(item.ShadowTop())), size);
  const int margin =
      layout.fontHeight + (item.Outline ? item.OutlineWidth : 0) + (item.Shadow ? item.ShadowBlur : 0) + 2;
  return area.adjusted(-margin, -margin, margin, margin);
}

void CopyRows(uint8_t* to, size_t toStride, const uint8_t* from, size_t fromStride, size_t rowBytes, int rows) {
  for (int y = 0; y < rows; ++y) std::memcpy(to + size_t(y) * toStride, from + size_t(y) * fromStride, rowBytes);
}

}  // namespace

CompositeOnTemplate::CompositeOnTemplate(const Document& document, const raster::StdPicture& templatePicture) {
  const std::shared_ptr<raster::Bitmap>& bitmap = templatePicture.sharedBitmap();
  if (!bitmap || !raster::IsRgb32Layout(*bitmap)) return;
  m_surface = bitmap;
  const QRect whole(0, 0, bitmap->width(), bitmap->height());
  const size_t stride = bitmap->stride();
  try {
    // One item at a time: its area is put aside just before it is painted.
    for (const TextItem& item : document.TextItems()) {
      if (!item.Visible) continue;
      const TextLayout layout = LayOutText(item);
      const QRect rect = PaintedArea(item, layout) & whole;
      if (rect.isEmpty()) continue;
      uint8_t* const corner = bitmap->row(rect.y()) + size_t(rect.x()) * 4;
      const size_t rowBytes = size_t(rect.width()) * 4;
      KeptArea kept{rect, std::vector<uint8_t>(rowBytes * size_t(rect.height()))};
      CopyRows(kept.pixels.data(), rowBytes, corner, stride, rowBytes, rect.height());
      m_kept.push_back(std::move(kept));
      // A device that is just the item's area, so nothing outside it can change.
      QImage area(corner, rect.width(), rect.height(), qsizetype(stride), QImage::Format_RGB32);
      QPainter painter(&area);
      painter.translate(-rect.topLeft());
      PaintTextItem(painter, item, layout);
    }
  } catch (const std::bad_alloc&) {
    PutBack();
  }
}

CompositeOnTemplate::~CompositeOnTemplate() { PutBack(); }

void CompositeOnTemplate::PutBack() {
  if (!m_surface) return;
  // Last first: each area holds what the items before it left.
  for (auto kept = m_kept.rbegin(); kept != m_kept.rend(); ++kept) {
    const QRect& rect = kept->rect;
    const size_t rowBytes = size_t(rect.width()) * 4;
    CopyRows(m_surface->row(rect.y()) + size_t(rect.x()) * 4, m_surface->stride(), kept->pixels.data(), rowBytes,
             rowBytes, rect.height());
  }
  m_kept.clear();
  m_surface.reset();
}

}  // namespace lumora
