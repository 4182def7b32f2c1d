#include "controls/RibbonBand.h"

#include <QPainter>
#include <algorithm>

namespace lumora {

RibbonBand::RibbonBand(const RibbonArt::Pictures& pictures, QWidget* parent)
    : QWidget(parent), m_pictures(pictures), m_fontValue(parent ? parent->font() : QFont()) {}

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

QRect RibbonBand::leftCapRect() const { return {QPoint(0, 0), m_pictures.leftCap.size()}; }

QRect RibbonBand::middleRect() const {
  const int caps = m_pictures.leftCap.width() + m_pictures.rightCap.width();
  // Narrower than both caps: the strip simply vanishes instead of getting a negative width.
  return {m_pictures.leftCap.width(), 0, std::max(0, width() - caps), m_pictures.middle.height()};
}

QRect RibbonBand::rightCapRect() const {
  return {QPoint(width() - m_pictures.rightCap.width(), 0), m_pictures.rightCap.size()};
}

void RibbonBand::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QRect middle = middleRect();
  if (!middle.isEmpty()) p.drawImage(middle, m_pictures.middle);
  p.drawImage(rightCapRect().topLeft(), m_pictures.rightCap);
  p.drawImage(leftCapRect().topLeft(), m_pictures.leftCap);
}

}  // namespace lumora
