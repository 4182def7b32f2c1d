#include "controls/RibbonBand.h"

#include <QPainter>
#include <algorithm>

namespace lumora {

RibbonBand::RibbonBand(const RibbonArt::Pictures& pictures, QWidget* parent)
    : QWidget(parent), m_pictures(pictures), m_fontValue(parent ? parent->font() : QFont()) {
  layoutPictures();
}

void RibbonBand::ReadProperties(const QVariantMap& bag) {
  m_backColor = static_cast<Colour>(bag.value(QStringLiteral("BackColor"), 0).toLongLong());
  m_foreColor = static_cast<Colour>(bag.value(QStringLiteral("ForeColor"), 0).toLongLong());
  m_enabledValue = bag.value(QStringLiteral("Enabled"), false).toBool();
  m_fontValue = bag.value(QStringLiteral("Font"), parentWidget() ? parentWidget()->font() : font()).value<QFont>();
  m_backStyle = static_cast<int16_t>(bag.value(QStringLiteral("BackStyle"), 0).toInt());
  m_borderStyle = static_cast<int16_t>(bag.value(QStringLiteral("BorderStyle"), 0).toInt());
}

QVariantMap RibbonBand::WriteProperties() const {
  return {{QStringLiteral("BackColor"), m_backColor},   {QStringLiteral("ForeColor"), m_foreColor},
          {QStringLiteral("Enabled"), m_enabledValue},  {QStringLiteral("Font"), m_fontValue},
          {QStringLiteral("BackStyle"), m_backStyle},   {QStringLiteral("BorderStyle"), m_borderStyle}};
}

void RibbonBand::layoutPictures() {
  const int w = width();
  const QSize left = m_pictures.leftCap.size(), right = m_pictures.rightCap.size();
  m_left = QRect(QPoint(0, 0), left);
  // Narrower than both caps: the strip simply vanishes instead of getting a negative width.
  m_middle = QRect(left.width(), 0, std::max(0, w - left.width() - right.width()), m_pictures.middle.height());
  m_right = QRect(QPoint(w - right.width(), 0), right);
}

void RibbonBand::resizeEvent(QResizeEvent*) { layoutPictures(); }

void RibbonBand::paintEvent(QPaintEvent*) {
  QPainter p(this);
  if (!m_middle.isEmpty()) p.drawImage(m_middle, m_pictures.middle);
  p.drawImage(m_right.topLeft(), m_pictures.rightCap);
  p.drawImage(m_left.topLeft(), m_pictures.leftCap);
}

}  // namespace lumora
