// A view control over one cDIB: the picture fitted into the control or at an integer zoom,
// panned by dragging when it is larger than the control, with mouse events reported in picture
// pixels. The container fills CanvasImage, then calls Resize and Repaint.
#pragma once

#include <QPixmap>
#include <QWidget>
#include <cstdint>

#include "imaging/cDIB.h"

namespace lumora {

class ucCanvas : public QWidget {
  Q_OBJECT
 public:
  explicit ucCanvas(QWidget* parent = nullptr);

  cDIB& CanvasImage() { return m_image; }
  const cDIB& CanvasImage() const { return m_image; }

  void Repaint();
  void Resize();
  bool Enabled() const { return isEnabled(); }
  void Enabled(bool enabled) { setEnabled(enabled); }
  bool FitMode() const { return m_fitMode; }
  void FitMode(bool fit) { m_fitMode = fit; }
  const QPixmap& UserIcon() const { return m_userIcon; }
  void UserIcon(const QPixmap& icon);
  int32_t WorkMode() const { return m_workMode; }
  void WorkMode(int32_t mode);
  int32_t Zoom() const { return m_zoom; }
  void Zoom(int32_t zoom) { m_zoom = zoom < 1 ? 1 : zoom; }

  // The layout, for the container and for tests (pixels).
  QRect ViewRect() const { return {m_viewLeft, m_viewTop, m_viewWidth, m_viewHeight}; }
  QPoint ScrollPos() const { return {m_scrollX, m_scrollY}; }
  QPoint MaxScroll() const { return {m_maxScrollX, m_maxScrollY}; }
  // Control coordinates to picture pixels (cut toward negative infinity).
  QPoint ToPicture(QPoint control) const;

 signals:
  // Buttons 1 left, 2 right, 4 middle; shift 1 Shift, 2 Ctrl, 4 Alt; x, y in picture pixels.
  void MouseDown(int button, int shift, int x, int y);
  void MouseMove(int button, int shift, int x, int y);
  void MouseUp(int button, int shift, int x, int y);
  void Scroll();
  void Resized();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void UpdatePointer();
  void KeepPanPosition();

  cDIB m_image;
  int32_t m_zoom = 1;
  bool m_fitMode = false;
  int32_t m_workMode = 0;
  QPixmap m_userIcon;
  int32_t m_viewWidth = 0, m_viewHeight = 0, m_viewLeft = 0, m_viewTop = 0;
  int32_t m_scrollX = 0, m_scrollY = 0, m_maxScrollX = 0, m_maxScrollY = 0;
  // Kept to preserve the relative pan position across layouts.
  float m_prevScrollX = 0, m_prevScrollY = 0, m_prevMaxX = 0, m_prevMaxY = 0;
  bool m_dragging = false;
  int32_t m_lastX = 0, m_lastY = 0;
};

}  // namespace lumora
