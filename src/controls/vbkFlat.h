// vbkFlat: the flat command button of the main window's command area. It paints its own looks
// (normal, hover, pressed, checked, disabled, keyboard-pressed), tracks hover by holding the mouse
// grab while the pointer is over it, and reports the six parameterless events as signals.
#pragma once

#include <QPixmap>
#include <QString>
#include <QVariantMap>
#include <QWidget>
#include <optional>

#include "base/Colour.h"

namespace lumora {

class vbkFlat : public QWidget {
  Q_OBJECT

 public:
  // Layouts by btnType.
  static constexpr int kIconAndCaption = 0, kIconOnly = 1, kCaptionOnly = 2;

  explicit vbkFlat(QWidget* parent = nullptr);
  ~vbkFlat() override;

  Colour bgColor() const { return m_bgColor; }
  void setBgColor(Colour c);
  Colour OverColor() const { return m_overColor; }
  void setOverColor(Colour c);
  Colour DownColor() const { return m_downColor; }
  void setDownColor(Colour c);
  Colour DownBorderColor() const { return m_downBorderColor; }
  void setDownBorderColor(Colour c);
  Colour BorderColor() const { return m_borderColor; }
  void setBorderColor(Colour c);
  Colour CaptionForeColor() const { return m_captionForeColor; }
  void setCaptionForeColor(Colour c);
  QString Caption() const { return m_caption; }
  void setCaption(const QString& text);
  bool Disabled() const { return m_disabled; }
  void setDisabled(bool disabled);
  QPixmap Icon() const { return m_icon; }
  void setIcon(const QPixmap& icon);
  QPixmap IconDisabled() const { return m_iconDisabled; }
  void setIconDisabled(const QPixmap& icon);
  int btnType() const { return m_btnType; }
  void setBtnType(int type);
  bool Checked() const { return m_checked; }
  void setChecked(bool checked);
  QString ToolTipText() const { return m_toolTipText; }
  void setToolTipText(const QString& text);

  void DisableState();

  // Persisted properties by their names; absent names take the defaults.
  void ReadProperties(const QVariantMap& bag);
  QVariantMap WriteProperties() const;
  // Set whenever a property is written, so an owner knows there is something to save.
  bool PropertiesChanged() const { return m_propertiesChanged; }

  // What the control shows now, for the windows that arrange it and for tests.
  QColor currentBackground() const;
  std::optional<QColor> currentFrame() const;
  QColor currentCaptionColour() const;
  bool captionUnderlined() const { return m_underlined; }
  bool hovering() const { return m_capturing; }
  QRect iconRect() const;
  QRect captionRect() const;
  bool iconShown() const { return m_iconVisible; }
  bool disabledIconShown() const { return m_iconDisabledVisible; }
  bool captionShown() const { return m_captionVisible; }

 signals:
  void OnClick();
  void OnMouseEnter();
  void OnMouseLeave();
  void OnMouseDown();
  void OnMouseMove();
  void OnMouseUp();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void setBackground(Colour c);
  void framedLook(Colour background, Colour frame);
  void normalLook();
  void capture();
  void releaseCapture();
  void layoutParts();
  void applyTypeVisibility();
  QFont captionFont() const;
  QSize captionSize() const;
  bool pointerOverMe() const;
  void recordChange() { m_propertiesChanged = true; }

  Colour m_bgColor;
  Colour m_overColor;
  Colour m_downColor;
  Colour m_downBorderColor;
  Colour m_borderColor;
  Colour m_captionForeColor;
  QString m_caption;
  bool m_disabled = false;
  QPixmap m_icon;
  QPixmap m_iconDisabled;
  int m_btnType = kIconAndCaption;
  bool m_checked = false;
  QString m_toolTipText;

  // The look on screen: background, an optional frame, caption colour and underline.
  Colour m_background;
  std::optional<Colour> m_frame;
  Colour m_captionColour;
  bool m_underlined = false;
  bool m_capturing = false;
  bool m_iconVisible = true;
  bool m_iconDisabledVisible = false;
  bool m_captionVisible = true;
  QPoint m_iconPos;
  QPoint m_captionPos;
  bool m_propertiesChanged = false;
};

}  // namespace lumora
