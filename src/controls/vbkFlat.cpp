#include "controls/vbkFlat.h"

#include <QApplication>
#include <QCursor>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

#include "controls/QtColour.h"

namespace lumora {
namespace {

constexpr Colour kDefaultBg = 0xFFA7E9;
constexpr Colour kDefaultOver = 0xF9E3F3;
constexpr Colour kDefaultDown = 0xBB499F;
constexpr Colour kDefaultBorder = 0xA70A80;
constexpr Colour kDefaultCaptionFore = 0x773F19;
constexpr Colour kGreyCaption = 0x808080;
constexpr Colour kKeyboardFrame = 0;
constexpr int kIconGap = 3;        // 45 twips at the literal 15 twips per pixel
constexpr int kEmptyIconSide = 20; // an image element without a picture keeps its designed 300 twips

const QString& defaultCaption() {
  static const QString text = QString::fromUtf8("ÇáãÏÑÓÉ");
  return text;
}

Colour colourIn(const QVariantMap& bag, const char* name, Colour fallback) {
  const auto it = bag.find(QString::fromLatin1(name));
  return it == bag.end() ? fallback : static_cast<Colour>(it->toLongLong());
}

}  // namespace

vbkFlat::vbkFlat(QWidget* parent)
    : QWidget(parent),
      m_bgColor(kDefaultBg),
      m_overColor(kDefaultOver),
      m_downColor(kDefaultDown),
      m_downBorderColor(kDefaultDown),
      m_borderColor(kDefaultBorder),
      m_captionForeColor(kDefaultCaptionFore),
      m_caption(defaultCaption()),
      m_background(kDefaultBg),
      m_captionColour(kDefaultCaptionFore) {
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

vbkFlat::~vbkFlat() { releaseCapture(); }

void vbkFlat::setBgColor(Colour c) {
  m_bgColor = c;
  setBackground(c);
  recordChange();
}
void vbkFlat::setOverColor(Colour c) { m_overColor = c; recordChange(); }
void vbkFlat::setDownColor(Colour c) { m_downColor = c; recordChange(); }
void vbkFlat::setDownBorderColor(Colour c) { m_downBorderColor = c; recordChange(); }
void vbkFlat::setBorderColor(Colour c) { m_borderColor = c; recordChange(); }
void vbkFlat::setCaptionForeColor(Colour c) {
  m_captionForeColor = c;
  // Shown at once: a caption that changed colour only on the first hover looked like two styles.
  if (!m_disabled) m_captionColour = c;
  update();
  recordChange();
}

void vbkFlat::setCaption(const QString& text) {
  m_caption = text;
  recordChange();
  update();
}

void vbkFlat::setDisabled(bool disabled) {
  m_disabled = disabled;
  recordChange();
  if (disabled) {
    // A disabled button shows its plain background and lets go of the pointer.
    releaseCapture();
    m_background = m_bgColor;
    m_frame.reset();
  } else {
    normalLook();
  }
  setFocusPolicy(disabled ? Qt::NoFocus : Qt::StrongFocus);
  DisableState();
}

void vbkFlat::setIcon(const QPixmap& icon) {
  m_icon = icon;
  recordChange();
  layoutParts();
}

void vbkFlat::setIconDisabled(const QPixmap& icon) {
  m_iconDisabled = icon;
  recordChange();
  update();
}

void vbkFlat::setBtnType(int type) {
  m_btnType = type;
  recordChange();
  applyTypeVisibility();
  layoutParts();
}

void vbkFlat::setChecked(bool checked) {
  m_checked = checked;
  recordChange();
  // While hovered the hover look stays; the checked look appears when the pointer leaves.
  if (!m_capturing) setBackground(checked ? m_downColor : m_bgColor);
}

void vbkFlat::setToolTipText(const QString& text) {
  m_toolTipText = text;
  recordChange();
}

void vbkFlat::DisableState() {
  m_captionColour = m_disabled ? kGreyCaption : m_captionForeColor;
  m_iconDisabledVisible = m_disabled;
  m_iconVisible = !m_disabled;
  if (m_disabled) m_underlined = false;
  update();
}

void vbkFlat::ReadProperties(const QVariantMap& bag) {
  m_bgColor = colourIn(bag, "bgColor", kDefaultBg);
  m_overColor = colourIn(bag, "OverColor", kDefaultOver);
  m_downColor = colourIn(bag, "DownColor", kDefaultDown);
  m_downBorderColor = colourIn(bag, "DownBorderColor", kDefaultDown);
  m_borderColor = colourIn(bag, "BorderColor", kDefaultBorder);
  m_captionForeColor = colourIn(bag, "CaptionForeColor", kDefaultCaptionFore);
  m_caption = bag.value(QStringLiteral("Caption"), defaultCaption()).toString();
  m_disabled = bag.value(QStringLiteral("Disabled"), false).toBool();
  DisableState();
  setBackground(m_bgColor);
  m_icon = bag.value(QStringLiteral("Icon")).value<QPixmap>();
  m_iconDisabled = bag.value(QStringLiteral("IconDisabled")).value<QPixmap>();
  m_btnType = bag.value(QStringLiteral("btnType"), kIconAndCaption).toInt();
  applyTypeVisibility();
  layoutParts();
  // Stored only: its look appears when Checked is next written or the pointer next leaves.
  m_checked = bag.value(QStringLiteral("Checked"), false).toBool();
  m_toolTipText = bag.value(QStringLiteral("ToolTipText")).toString();
  setFocusPolicy(m_disabled ? Qt::NoFocus : Qt::StrongFocus);
}

QVariantMap vbkFlat::WriteProperties() const {
  QVariantMap bag;
  bag.insert(QStringLiteral("bgColor"), m_bgColor);
  bag.insert(QStringLiteral("OverColor"), m_overColor);
  bag.insert(QStringLiteral("DownColor"), m_downColor);
  bag.insert(QStringLiteral("DownBorderColor"), m_downBorderColor);
  bag.insert(QStringLiteral("BorderColor"), m_borderColor);
  bag.insert(QStringLiteral("CaptionForeColor"), m_captionForeColor);
  bag.insert(QStringLiteral("Caption"), m_caption);
  bag.insert(QStringLiteral("Disabled"), m_disabled);
  if (!m_icon.isNull()) bag.insert(QStringLiteral("Icon"), m_icon);
  if (!m_iconDisabled.isNull()) bag.insert(QStringLiteral("IconDisabled"), m_iconDisabled);
  bag.insert(QStringLiteral("btnType"), m_btnType);
  bag.insert(QStringLiteral("Checked"), m_checked);
  bag.insert(QStringLiteral("ToolTipText"), m_toolTipText);
  return bag;
}

QColor vbkFlat::currentBackground() const { return ToQColor(m_background); }

std::optional<QColor> vbkFlat::currentFrame() const {
  if (!m_frame) return std::nullopt;
  return ToQColor(*m_frame);
}

QColor vbkFlat::currentCaptionColour() const { return ToQColor(m_captionColour); }

QRect vbkFlat::iconRect() const {
  const QSize size = m_icon.isNull() ? QSize(kEmptyIconSide, kEmptyIconSide) : m_icon.deviceIndependentSize().toSize();
  return {m_iconPos, size};
}

QRect vbkFlat::captionRect() const { return {m_captionPos, captionSize()}; }

// Setting the background erases whatever was drawn on it, the frame included.
void vbkFlat::setBackground(Colour c) {
  m_background = c;
  m_frame.reset();
  update();
}

void vbkFlat::framedLook(Colour background, Colour frame) {
  m_background = background;
  m_frame = frame;
  update();
}

void vbkFlat::normalLook() {
  setBackground(m_checked && !m_disabled ? m_downColor : m_bgColor);
  m_captionColour = m_captionForeColor;
}

void vbkFlat::capture() {
  if (!isVisible()) return;
  m_capturing = true;
  grabMouse();
}

void vbkFlat::releaseCapture() {
  if (!m_capturing) return;
  m_capturing = false;
  if (QWidget::mouseGrabber() == this) releaseMouse();
}

void vbkFlat::applyTypeVisibility() {
  switch (m_btnType) {
    case kIconAndCaption: m_iconVisible = !m_disabled; m_captionVisible = true; break;
    case kIconOnly: m_iconVisible = !m_disabled; m_captionVisible = false; break;
    case kCaptionOnly: m_iconVisible = false; m_captionVisible = true; break;
    default: break;  // other values leave the visibility as it is
  }
  m_iconDisabledVisible = m_disabled && m_btnType != kCaptionOnly;
}

QFont vbkFlat::captionFont() const {
  QFont font;
  // Tahoma where it exists; Liberation Sans keeps about its width elsewhere.
  font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
  font.setPixelSize(11);  // 8.25 points at 96 dots per inch
  font.setUnderline(m_underlined);
  return font;
}

QSize vbkFlat::captionSize() const {
  const QFontMetrics metrics(captionFont());
  return {metrics.horizontalAdvance(m_caption), metrics.height()};
}

void vbkFlat::layoutParts() {
  const QSize icon = iconRect().size();
  const QSize caption = captionSize();
  const int iconLeft = m_btnType == kIconAndCaption ? kIconGap : (width() - icon.width()) / 2;
  const int captionLeft =
      m_btnType == kIconAndCaption ? iconLeft + icon.width() + kIconGap : (width() - caption.width()) / 2;
  m_iconPos = {iconLeft, (height() - icon.height()) / 2};
  m_captionPos = {captionLeft, (height() - caption.height()) / 2};
  update();
}

bool vbkFlat::pointerOverMe() const {
  const QWidget* under = QApplication::widgetAt(QCursor::pos());
  return under == this || (under && isAncestorOf(under));
}

void vbkFlat::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const int w = width(), h = height();
  p.fillRect(rect(), m_disabled ? ToQColor(m_bgColor) : ToQColor(m_background));
  if (m_frame && !m_disabled && w > 1 && h > 1) {
    // Four edges without their end points, then the corners in bgColor: a frame rounded by one pixel.
    p.setPen(ToQColor(*m_frame));
    if (w > 2) {
      p.drawLine(1, 0, w - 2, 0);
      p.drawLine(1, h - 1, w - 2, h - 1);
    }
    if (h > 2) {
      p.drawLine(0, 1, 0, h - 2);
      p.drawLine(w - 1, 1, w - 1, h - 2);
    }
    p.setPen(ToQColor(m_bgColor));
    p.drawPoint(0, 0);
    p.drawPoint(0, h - 1);
    p.drawPoint(w - 1, 0);
    p.drawPoint(w - 1, h - 1);
  }
  if (m_iconDisabledVisible && !m_iconDisabled.isNull()) p.drawPixmap(m_iconPos, m_iconDisabled);
  if (m_iconVisible && !m_icon.isNull()) p.drawPixmap(m_iconPos, m_icon);
  if (m_captionVisible) {
    p.setFont(captionFont());
    p.setPen(ToQColor(m_captionColour));
    p.drawText(captionRect(), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, m_caption);
  }
}

void vbkFlat::resizeEvent(QResizeEvent*) { layoutParts(); }

void vbkFlat::mouseMoveEvent(QMouseEvent* event) {
  if (m_disabled) {
    releaseCapture();
    return;
  }
  if (rect().contains(event->position().toPoint())) {
    if (m_capturing) {
      emit OnMouseMove();
      return;
    }
    framedLook(m_overColor, m_borderColor);
    emit OnMouseEnter();
    capture();
  } else {
    normalLook();
    emit OnMouseLeave();
    releaseCapture();
  }
}

void vbkFlat::mousePressEvent(QMouseEvent*) {
  if (m_disabled) return;
  framedLook(m_downColor, m_downBorderColor);
  m_captionColour = m_captionForeColor;
  emit OnMouseDown();
}

void vbkFlat::mouseReleaseEvent(QMouseEvent* event) {
  if (m_disabled) return;
  const QPointer<vbkFlat> self(this);
  if (!rect().contains(event->position().toPoint())) {
    // Released away from the button: the press is abandoned, as every push button does.
    normalLook();
    emit OnMouseUp();
    if (!self) return;
    emit OnMouseLeave();
    if (self) releaseCapture();
    return;
  }
  framedLook(m_overColor, m_borderColor);
  m_captionColour = m_captionForeColor;
  emit OnMouseUp();
  if (!self) return;
  // A click may open a modal window, which must get the pointer: the grab is taken again after it.
  releaseCapture();
  emit OnClick();
  if (!self || m_disabled || !isVisible()) return;
  capture();
}

void vbkFlat::keyPressEvent(QKeyEvent* event) {
  if (m_disabled || event->key() != Qt::Key_Space) {
    QWidget::keyPressEvent(event);
    return;
  }
  framedLook(m_downColor, kKeyboardFrame);
  m_captionColour = m_captionForeColor;
}

void vbkFlat::keyReleaseEvent(QKeyEvent* event) {
  if (m_disabled || event->key() != Qt::Key_Space || event->isAutoRepeat()) {
    QWidget::keyReleaseEvent(event);
    return;
  }
  if (pointerOverMe())
    framedLook(m_overColor, m_borderColor);
  else
    setBackground(m_checked ? m_downColor : m_bgColor);
  m_captionColour = m_captionForeColor;
}

void vbkFlat::focusInEvent(QFocusEvent* event) {
  if (!m_disabled) {
    m_underlined = true;
    update();
  }
  QWidget::focusInEvent(event);
}

void vbkFlat::focusOutEvent(QFocusEvent* event) {
  if (!m_disabled) {
    m_underlined = false;
    update();
  }
  QWidget::focusOutEvent(event);
}

void vbkFlat::hideEvent(QHideEvent* event) {
  if (m_capturing) {
    releaseCapture();
    normalLook();
  }
  QWidget::hideEvent(event);
}

void vbkFlat::changeEvent(QEvent* event) {
  // Another window took over (a modal dialog, another program): the hover is over.
  if (event->type() == QEvent::ActivationChange && m_capturing && !isActiveWindow()) {
    releaseCapture();
    normalLook();
    emit OnMouseLeave();
  }
  QWidget::changeEvent(event);
}

}  // namespace lumora
