#include "library/ucCanvas.h"

#include <QMouseEvent>
#include <QPainter>
#include <QRegion>
#include <algorithm>
#include <cmath>

#include "base/SystemColors.h"
#include "compose/ImageConversion.h"
#include "controls/DialogFont.h"
#include "controls/ErrorGuard.h"

namespace lumora {
namespace {

int VbButton(Qt::MouseButtons buttons) {
  return (buttons & Qt::LeftButton ? 1 : 0) | (buttons & Qt::RightButton ? 2 : 0) | (buttons & Qt::MiddleButton ? 4 : 0);
}

int VbShift(Qt::KeyboardModifiers modifiers) {
  return (modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0) |
         (modifiers & Qt::AltModifier ? 4 : 0);
}

int32_t FloorDiv(int64_t a, int64_t b) {
  return static_cast<int32_t>(a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0));
}

// The surface's pixels as a picture Qt can draw: the bits themselves when the layouts agree,
// a 32-bit copy otherwise.
QImage Drawable(const cDIB& dib) {
  if (dib.hDIb() && raster::IsRgb32Layout(*dib.hDIb()))
    return QImage(static_cast<const uchar*>(dib.lpBits()), dib.Width(), dib.Height(), dib.BytesPerScanLine(),
                  QImage::Format_RGB32);
  return ToQImage(dib.Image());
}

}  // namespace

ucCanvas::ucCanvas(QWidget* parent) : QWidget(parent) {
  setFont(DialogFont());
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
}

void ucCanvas::UserIcon(const QPixmap& icon) {
  m_userIcon = icon;
  UpdatePointer();
}

void ucCanvas::WorkMode(int32_t mode) {
  m_workMode = mode;
  UpdatePointer();
}

void ucCanvas::Repaint() { update(); }

void ucCanvas::Resize() {
  const int32_t w = width(), h = height();
  const int32_t iw = m_image.Width(), ih = m_image.Height();
  if (iw <= 0 || ih <= 0) {
    m_viewWidth = m_viewHeight = 0;
  } else if (m_fitMode) {
    m_image.GetBestFitInfo(w, h, m_viewLeft, m_viewTop, m_viewWidth, m_viewHeight);
  } else {
    // 64-bit products: a large picture at a high zoom must not wrap around.
    const auto direction = [this](int32_t client, int32_t extent, int32_t& maxScroll, int32_t& view) {
      const int64_t zoomed = int64_t(m_zoom) * extent;
      maxScroll = client < zoomed ? static_cast<int32_t>(std::min<int64_t>(zoomed - client, INT32_MAX)) : 0;
      view = client < zoomed ? client : static_cast<int32_t>(zoomed);
    };
    direction(w, iw, m_maxScrollX, m_viewWidth);
    direction(h, ih, m_maxScrollY, m_viewHeight);
    m_viewLeft = (w - m_viewWidth) / 2;
    m_viewTop = (h - m_viewHeight) / 2;
    KeepPanPosition();
  }
  UpdatePointer();
}

void ucCanvas::KeepPanPosition() {
  const auto keep = [](float prevScroll, float prevMax, int32_t newMax) -> int32_t {
    if (prevMax == 0) return newMax / 2;
    return static_cast<int32_t>(static_cast<int64_t>(prevScroll) * newMax / static_cast<int64_t>(prevMax));
  };
  m_scrollX = keep(m_prevScrollX, m_prevMaxX, m_maxScrollX);
  m_scrollY = keep(m_prevScrollY, m_prevMaxY, m_maxScrollY);
  m_prevScrollX = static_cast<float>(m_scrollX);
  m_prevScrollY = static_cast<float>(m_scrollY);
  m_prevMaxX = static_cast<float>(m_maxScrollX);
  m_prevMaxY = static_cast<float>(m_maxScrollY);
}

void ucCanvas::UpdatePointer() {
  if (m_workMode == 0) {
    const bool pannable = !m_fitMode && (m_maxScrollX != 0 || m_maxScrollY != 0) && m_image.Width() > 0;
    setCursor(pannable ? Qt::SizeAllCursor : Qt::ArrowCursor);
  } else if (!m_userIcon.isNull()) {
    setCursor(QCursor(m_userIcon));
  } else {
    unsetCursor();
  }
}

QPoint ucCanvas::ToPicture(QPoint control) const {
  const int32_t iw = m_image.Width(), ih = m_image.Height();
  if (iw <= 0 || ih <= 0) return {0, 0};
  if (m_fitMode) {
    const auto fit = [](int32_t at, int32_t viewStart, int32_t viewExtent, int32_t extent) {
      if (viewExtent <= 0) return 0;
      return static_cast<int>(std::floor((at - viewStart) / (static_cast<double>(viewExtent) / extent)));
    };
    return {fit(control.x(), m_viewLeft, m_viewWidth, iw), fit(control.y(), m_viewTop, m_viewHeight, ih)};
  }
  return {FloorDiv(int64_t{m_scrollX} + control.x() - m_viewLeft, m_zoom),
          FloorDiv(int64_t{m_scrollY} + control.y() - m_viewTop, m_zoom)};
}

void ucCanvas::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRect view = ViewRect();
  const uint32_t workspace = SystemColors::Get(SystemColors::kAppWorkspace);
  painter.setClipRegion(QRegion(rect()).subtracted(QRegion(view)));
  painter.fillRect(rect(), QColor(workspace & 0xFF, (workspace >> 8) & 0xFF, (workspace >> 16) & 0xFF));
  painter.setClipping(false);
  if (m_image.Width() <= 0 || view.isEmpty()) return;
  const QImage picture = Drawable(m_image);
  if (picture.isNull()) return;
  painter.setClipRect(view);
  // Two extra picture pixels past the view, starting at a negative sub-pixel offset, keep the
  // partly visible zoomed pixels whole at both edges.
  // 64-bit: the destination of a huge zoom does not fit 32 bits.
  const auto span = [this](int32_t maxScroll, int32_t scroll, int32_t viewStart, int32_t viewExtent, int32_t extent,
                           int64_t& srcStart, int64_t& srcExtent, int64_t& dstStart, int64_t& dstExtent) {
    if (!m_fitMode && maxScroll != 0) {
      srcStart = scroll / m_zoom;
      srcExtent = viewExtent / m_zoom + 2;
      dstStart = viewStart - scroll % m_zoom;
      dstExtent = int64_t{m_zoom} * srcExtent;
    } else {
      srcStart = 0;
      srcExtent = extent;
      dstStart = viewStart;
      dstExtent = viewExtent;
    }
  };
  int64_t sx, sw, dx, dw, sy, sh, dy, dh;
  span(m_maxScrollX, m_scrollX, m_viewLeft, m_viewWidth, m_image.Width(), sx, sw, dx, dw);
  span(m_maxScrollY, m_scrollY, m_viewTop, m_viewHeight, m_image.Height(), sy, sh, dy, dh);
  // The extra pixels may lie past the picture's edge: draw only the part that exists, at the
  // same scale.
  const double scaleX = double(dw) / double(sw), scaleY = double(dh) / double(sh);
  const int64_t cw = std::min<int64_t>(sw, m_image.Width() - sx), ch = std::min<int64_t>(sh, m_image.Height() - sy);
  if (cw <= 0 || ch <= 0) return;
  painter.drawImage(QRectF(double(dx), double(dy), double(cw) * scaleX, double(ch) * scaleY), picture,
                    QRectF(double(sx), double(sy), double(cw), double(ch)));
}

void ucCanvas::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Guarded([&] {
    Resize();
    Repaint();
    emit Resized();
  });
}

void ucCanvas::mousePressEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  m_dragging = event->button() == Qt::LeftButton;
  m_lastX = at.x();
  m_lastY = at.y();
  const QPoint p = ToPicture(at);
  emit MouseDown(VbButton(event->button()), VbShift(event->modifiers()), p.x(), p.y());
}

void ucCanvas::mouseMoveEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  if (m_dragging && m_workMode == 0) {
    m_scrollX = static_cast<int32_t>(std::clamp<int64_t>(int64_t{m_lastX} - at.x() + m_scrollX, 0, m_maxScrollX));
    m_scrollY = static_cast<int32_t>(std::clamp<int64_t>(int64_t{m_lastY} - at.y() + m_scrollY, 0, m_maxScrollY));
    m_lastX = at.x();
    m_lastY = at.y();
    if (static_cast<float>(m_scrollX) != m_prevScrollX || static_cast<float>(m_scrollY) != m_prevScrollY) {
      Repaint();
      emit Scroll();
      m_prevScrollX = static_cast<float>(m_scrollX);
      m_prevScrollY = static_cast<float>(m_scrollY);
    }
  }
  const QPoint p = ToPicture(at);
  emit MouseMove(VbButton(event->buttons()), VbShift(event->modifiers()), p.x(), p.y());
}

void ucCanvas::mouseReleaseEvent(QMouseEvent* event) {
  m_dragging = false;
  const QPoint p = ToPicture(event->position().toPoint());
  emit MouseUp(VbButton(event->button()), VbShift(event->modifiers()), p.x(), p.y());
}

}  // namespace lumora
